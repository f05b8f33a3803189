#include "engine/StringPrimitives.h"

#include "engine/Utf8.h"

namespace vt {

std::string Copy(std::string_view s, int i, int n) {
  if (n < 1) return {};
  if (i < 1) i = 1;
  const std::size_t start = AdvanceChars(s, 0, static_cast<std::size_t>(i - 1));
  const std::size_t end = AdvanceChars(s, start, static_cast<std::size_t>(n));
  return std::string(s.substr(start, end - start));
}

void Delete(std::string& s, int i, int n) {
  if (i < 1 || n < 1) return;
  const std::size_t start = AdvanceChars(s, 0, static_cast<std::size_t>(i - 1));
  if (start >= s.size()) return;
  const std::size_t end = AdvanceChars(s, start, static_cast<std::size_t>(n));
  s.erase(start, end - start);
}

void Insert(std::string_view t, std::string& s, int i) {
  if (i < 1) i = 1;
  const std::size_t at = AdvanceChars(s, 0, static_cast<std::size_t>(i - 1));
  s.insert(at, t);
}

int Length(std::string_view s) { return static_cast<int>(CharCount(s)); }

}  // namespace vt
