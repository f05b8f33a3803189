#include "engine/Utf8.h"

#include "platform/Utf8Char.h"

namespace vt {
namespace {

inline unsigned char Byte(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

inline bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

}  // namespace

std::size_t CharSize(std::string_view s, std::size_t i) { return Utf8CharBytes(s, i); }

std::size_t CharCount(std::string_view s) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < s.size(); i += CharSize(s, i)) ++count;
  return count;
}

std::size_t AdvanceChars(std::string_view s, std::size_t i, std::size_t n) {
  while (n > 0 && i < s.size()) {
    i += CharSize(s, i);
    --n;
  }
  return i < s.size() ? i : s.size();
}

bool IsCharBoundarySlow(std::string_view s, std::size_t i) {
  // A continuation byte lies inside a character only when the nearest byte
  // before it that is not a continuation starts a sequence reaching past it.
  for (std::size_t k = 1; k <= 3 && k <= i; ++k) {
    if (!IsContinuation(Byte(s, i - k))) return CharSize(s, i - k) <= k;
  }
  return true;
}

}  // namespace vt
