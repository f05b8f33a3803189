#pragma once
// copy, delete and insert on 1-based character positions, with the clamping
// rules every operation states its positions in.
#include <string>
#include <string_view>

namespace vt {

// Characters of s from position i on, at most n of them; i below 1 counts as 1;
// i past the end or n below 1 gives the empty string.
std::string Copy(std::string_view s, int i, int n);

// Removes up to n characters starting at i; nothing when i is below 1 or past
// the end, or n is below 1.
void Delete(std::string& s, int i, int n);

// Inserts t so that its first character becomes character i of s; i below 1
// counts as 1, i past the end appends.
void Insert(std::string_view t, std::string& s, int i);

// Length of s in characters.
int Length(std::string_view s);

}  // namespace vt
