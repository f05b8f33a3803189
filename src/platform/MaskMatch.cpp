#include "platform/MaskMatch.h"

#include "platform/Utf8Char.h"

namespace vt {
namespace {

bool SameChar(std::string_view a, std::size_t ai, std::size_t an, std::string_view b, std::size_t bi, std::size_t bn) {
  if (an != bn) return false;
  if (an == 1) return AsciiUpperChar(a[ai]) == AsciiUpperChar(b[bi]);
  return a.substr(ai, an) == b.substr(bi, bn);
}

// Iterative glob with one backtrack point (the last "*"), stepping over whole
// characters so that "?" never splits a UTF-8 sequence.
bool Glob(std::string_view mask, std::string_view name) {
  std::size_t m = 0, n = 0;
  std::size_t starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    const std::size_t nl = Utf8CharBytes(name, n);
    if (m < mask.size()) {
      const char c = mask[m];
      if (c == '*') {
        starMask = ++m;
        starName = n;
        continue;
      }
      const std::size_t ml = Utf8CharBytes(mask, m);
      if (c == '?' || SameChar(mask, m, ml, name, n, nl)) {
        m += ml;
        n += nl;
        continue;
      }
    }
    if (starMask == std::string_view::npos) return false;
    m = starMask;
    starName += Utf8CharBytes(name, starName);
    n = starName;
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

}  // namespace

bool MaskMatches(std::string_view mask, std::string_view name) {
  if (mask.empty()) return false;
  if (mask == "*" || mask == "*.*") return true;
  if (Glob(mask, name)) return true;
  if (mask.size() >= 2 && mask.substr(mask.size() - 2) == ".*") return Glob(mask.substr(0, mask.size() - 2), name);
  return false;
}

}  // namespace vt
