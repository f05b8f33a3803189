#include "engine/TextSearch.h"

#include "engine/Utf8.h"

namespace vt {
namespace {

bool EqualAt(std::string_view text, std::size_t at, std::string_view part, TCase rule) {
  if (rule == TCase::Sensitive) return text.compare(at, part.size(), part) == 0;
  for (std::size_t k = 0; k < part.size(); ++k) {
    if (AsciiLower(text[at + k]) != AsciiLower(part[k])) return false;
  }
  return true;
}

}  // namespace

std::size_t FindText(std::string_view text, std::string_view part, std::size_t from, TCase rule) {
  if (part.empty() || part.size() > text.size()) return NotFound;
  const std::size_t last = text.size() - part.size();
  for (std::size_t i = from; i <= last; ++i) {
    if (rule == TCase::Sensitive) {
      i = text.find(part, i);
      if (i == NotFound) return NotFound;
    } else if (!EqualAt(text, i, part, rule)) {
      continue;
    }
    if (IsCharBoundary(text, i) && IsCharBoundary(text, i + part.size())) return i;
  }
  return NotFound;
}

int StrIPos(std::string_view text, std::string_view part) {
  const std::size_t at = FindText(text, part, 0, TCase::Insensitive);
  return at == NotFound ? 0 : static_cast<int>(CharCount(text.substr(0, at))) + 1;
}

std::uint8_t CountOccurrences(std::string_view part, std::string_view text, TCase rule) {
  std::uint8_t count = 0;
  std::size_t at = FindText(text, part, 0, rule);
  while (at != NotFound && count < 255) {
    ++count;
    at = FindText(text, part, at + part.size(), rule);
  }
  return count;
}

std::string RemoveChar(std::string_view text, char ch) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = CharSize(text, i);
    if (!(n == 1 && text[i] == ch)) result.append(text.substr(i, n));
    i += n;
  }
  return result;
}

bool HasWildcard(std::string_view text) {
  return text.find_first_of("*?") != std::string_view::npos;
}

std::string ReplaceText(std::string_view source, std::string_view pattern,
                        std::string_view replacement, TOccurrences occurrences, TCase rule) {
  std::size_t at = FindText(source, pattern, 0, rule);
  if (at == NotFound) return std::string(source);
  std::string output;
  output.reserve(source.size() + replacement.size());
  std::size_t rest = 0;
  while (at != NotFound) {
    output.append(source.substr(rest, at - rest));
    output.append(replacement);
    rest = at + pattern.size();
    if (occurrences == TOccurrences::First) break;
    at = FindText(source, pattern, rest, rule);
  }
  output.append(source.substr(rest));
  return output;
}

}  // namespace vt
