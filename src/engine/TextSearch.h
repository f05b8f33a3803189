#pragma once
// Literal text search under the case rule of the operations: with TCase::Insensitive
// only the ASCII letters are folded. Occurrences always start and end on
// character boundaries.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vt {

enum class TCase : std::uint8_t { Insensitive, Sensitive };
enum class TOccurrences : std::uint8_t { First, Every };

inline TCase CaseRule(bool caseSensitive) { return caseSensitive ? TCase::Sensitive : TCase::Insensitive; }

inline constexpr std::size_t NotFound = std::string_view::npos;

// Byte offset of the first occurrence of part in text at or after byte offset
// from; NotFound when there is none or part is empty.
std::size_t FindText(std::string_view text, std::string_view part, std::size_t from, TCase rule);

// 1-based character position of the first occurrence of part in text with ASCII
// letters folded; 0 when absent or part is empty.
int StrIPos(std::string_view text, std::string_view part);

// Non-overlapping occurrences of part in text, counted from the left; an 8-bit
// count that stops at 255.
std::uint8_t CountOccurrences(std::string_view part, std::string_view text, TCase rule = TCase::Sensitive);

// text without any character equal to ch.
std::string RemoveChar(std::string_view text, char ch);

// True when text holds "*" or "?".
bool HasWildcard(std::string_view text);

// source with the first (or every) occurrence of the literal pattern replaced;
// inserted text is never searched again.
std::string ReplaceText(std::string_view source, std::string_view pattern, std::string_view replacement,
                        TOccurrences occurrences, TCase rule);

// The same on text itself, reusing its storage; pattern and replacement may
// view into text.
void ReplaceTextInPlace(std::string& text, std::string_view pattern, std::string_view replacement,
                        TOccurrences occurrences, TCase rule);

}  // namespace vt
