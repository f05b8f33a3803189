#include "engine/Utf8.h"

namespace vt {
namespace {

inline unsigned char Byte(std::string_view s, std::size_t i) {
  return static_cast<unsigned char>(s[i]);
}

inline bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

}  // namespace

std::size_t CharSize(std::string_view s, std::size_t i) {
  const unsigned char b0 = Byte(s, i);
  if (b0 < 0x80) return 1;
  std::size_t need;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    need = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    need = 3;
    if (b0 == 0xE0) lo = 0xA0;       // no overlong forms
    else if (b0 == 0xED) hi = 0x9F;  // no surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    need = 4;
    if (b0 == 0xF0) lo = 0x90;
    else if (b0 == 0xF4) hi = 0x8F;  // nothing past U+10FFFF
  } else {
    return 1;
  }
  if (i + need > s.size()) return 1;
  const unsigned char b1 = Byte(s, i + 1);
  if (b1 < lo || b1 > hi) return 1;
  for (std::size_t k = 2; k < need; ++k) {
    if (!IsContinuation(Byte(s, i + k))) return 1;
  }
  return need;
}

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
