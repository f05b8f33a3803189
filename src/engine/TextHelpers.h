#pragma once
// Small text helpers shared by the pass and the operations.
#include <string>
#include <string_view>
#include <vector>

namespace vt {

// Appends to list the pieces of text between occurrences of separator, in
// order; pieces are kept as typed, empty ones included.
void SplitString(std::string_view text, char separator, std::vector<std::string>& list);

// path unchanged when it ends with the platform's separator, else path and the separator.
std::string IncludeBackslash(std::string_view path);

// 1-based character position of the last ch in text, 0 if absent.
int LastCharPos(char ch, std::string_view text);

}  // namespace vt
