#include "engine/WildReplace.h"

#include "engine/Utf8.h"

namespace vt {

std::string WildReplace(std::string_view replacePattern, std::string_view matched) {
  if (replacePattern == "*" && matched.empty()) return {};
  const std::size_t m = CharCount(matched);
  std::string_view pattern = replacePattern;
  // A "?" beyond the end of the match would have nothing to copy: the pattern
  // is cut to the length of the match.
  const std::size_t cut = AdvanceChars(pattern, 0, m);
  if (cut < pattern.size() && pattern.substr(cut).find('?') != std::string_view::npos) {
    pattern = pattern.substr(0, cut);
  }
  std::string result;
  result.reserve(pattern.size() + matched.size());
  std::size_t pi = 0;  // byte offset in the pattern
  std::size_t mj = 0;  // byte offset of the same character position in the match
  while (pi < pattern.size() && mj < matched.size()) {
    const std::size_t pn = CharSize(pattern, pi);
    const std::size_t mn = CharSize(matched, mj);
    const char c = pattern[pi];
    if (pn == 1 && c == '*') {
      result.append(matched.substr(mj));
      pi += pn;
      break;
    }
    if (pn == 1 && c == '?') {
      result.append(matched.substr(mj, mn));
    } else {
      result.append(pattern.substr(pi, pn));
    }
    pi += pn;
    mj += mn;
  }
  result.append(pattern.substr(pi));
  return result;
}

}  // namespace vt
