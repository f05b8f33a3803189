#pragma once
// Names are bytes, almost always UTF-8. A character is one valid UTF-8 sequence,
// or a single byte that is not part of one (kept as it is, counted as one).
#include <cstddef>
#include <string_view>

namespace vt {

// Byte length of the character that starts at byte i (i < s.size()).
std::size_t CharSize(std::string_view s, std::size_t i);

// Number of characters of s.
std::size_t CharCount(std::string_view s);

// Byte offset reached from byte offset i by stepping over n characters; s.size()
// when fewer than n remain.
std::size_t AdvanceChars(std::string_view s, std::size_t i, std::size_t n);

// True when byte offset i starts a character (or is the end of s).
// The same for a continuation byte at 0 < i < s.size().
bool IsCharBoundarySlow(std::string_view s, std::size_t i);
inline bool IsCharBoundary(std::string_view s, std::size_t i) {
  // Only a continuation byte can lie inside a character.
  return i == 0 || i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80 || IsCharBoundarySlow(s, i);
}

inline bool IsAsciiUpper(char c) { return c >= 'A' && c <= 'Z'; }
inline bool IsAsciiLower(char c) { return c >= 'a' && c <= 'z'; }
inline char AsciiLower(char c) { return IsAsciiUpper(c) ? static_cast<char>(c + ('a' - 'A')) : c; }
inline char AsciiUpper(char c) { return IsAsciiLower(c) ? static_cast<char>(c - ('a' - 'A')) : c; }

}  // namespace vt
