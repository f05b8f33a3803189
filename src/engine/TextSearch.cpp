#include "engine/TextSearch.h"

#include <functional>

#include "engine/Utf8.h"

namespace vt {
namespace {

bool HasAsciiLetter(std::string_view text) {
  for (const char c : text) {
    if (IsAsciiUpper(c) || IsAsciiLower(c)) return true;
  }
  return false;
}

bool FoldedEqual(const char* a, const char* b, std::size_t n) {
  for (std::size_t k = 0; k < n; ++k) {
    // Names mostly repeat the search text's own case: fold only where bytes differ.
    if (a[k] != b[k] && AsciiLower(a[k]) != AsciiLower(b[k])) return false;
  }
  return true;
}

// Next position at or after i where part occurs byte for byte, with ASCII
// letters folded when the rule says so; NotFound when there is none.
std::size_t NextCandidate(std::string_view text, std::string_view part, std::size_t i, TCase rule) {
  if (rule == TCase::Sensitive) return text.find(part, i);
  const std::size_t last = text.size() - part.size();
  const char first = AsciiLower(part[0]);
  for (; i <= last; ++i) {
    if (AsciiLower(text[i]) == first && FoldedEqual(text.data() + i + 1, part.data() + 1, part.size() - 1)) {
      return i;
    }
  }
  return NotFound;
}

bool ViewsInto(const std::string& text, std::string_view part) {
  // Compared through std::less: the views may belong to unrelated objects.
  const std::less<const char*> before;
  return !part.empty() && before(part.data(), text.data() + text.size()) &&
         before(text.data(), part.data() + part.size());
}

}  // namespace

std::size_t FindText(std::string_view text, std::string_view part, std::size_t from, TCase rule) {
  if (part.empty() || part.size() > text.size()) return NotFound;
  if (rule == TCase::Insensitive && !HasAsciiLetter(part)) rule = TCase::Sensitive;
  const std::size_t last = text.size() - part.size();
  for (std::size_t i = from; i <= last; ++i) {
    i = NextCandidate(text, part, i, rule);
    if (i == NotFound) return NotFound;
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
  for (const char c : text) {
    if (c == '*' || c == '?') return true;
  }
  return false;
}

std::string ReplaceText(std::string_view source, std::string_view pattern, std::string_view replacement,
                        TOccurrences occurrences, TCase rule) {
  std::string result(source);
  ReplaceTextInPlace(result, pattern, replacement, occurrences, rule);
  return result;
}

void ReplaceTextInPlace(std::string& text, std::string_view pattern, std::string_view replacement,
                        TOccurrences occurrences, TCase rule) {
  std::size_t at = FindText(text, pattern, 0, rule);
  if (at == NotFound) return;
  if (occurrences == TOccurrences::First) {
    text.replace(at, pattern.size(), replacement);
    return;
  }
  // Later searches need the pattern after the text has changed under it: a
  // view into text is copied first, any other is used as it is.
  std::string ownPattern;
  std::string ownReplacement;
  if (ViewsInto(text, pattern)) pattern = ownPattern.assign(pattern);
  if (ViewsInto(text, replacement)) replacement = ownReplacement.assign(replacement);
  while (at != NotFound) {
    text.replace(at, pattern.size(), replacement);
    at = FindText(text, pattern, at + replacement.size(), rule);
  }
}

}  // namespace vt
