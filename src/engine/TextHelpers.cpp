#include "engine/TextHelpers.h"

#include "engine/Utf8.h"
#include "platform/PathSeparator.h"

namespace vt {

void SplitString(std::string_view text, char separator, std::vector<std::string>& list) {
  for (;;) {
    const std::size_t p = text.find(separator);
    if (p == std::string_view::npos) {
      list.emplace_back(text);
      return;
    }
    list.emplace_back(text.substr(0, p));
    text.remove_prefix(p + 1);
  }
}

std::string IncludeBackslash(std::string_view path) { return WithSlash(std::string(path)); }

int LastCharPos(char ch, std::string_view text) {
  std::size_t p = text.rfind(ch);
  // A byte above 0x7F counts only where it stands alone as a character.
  while (p != std::string_view::npos && !(IsCharBoundary(text, p) && CharSize(text, p) == 1)) {
    p = p == 0 ? std::string_view::npos : text.rfind(ch, p - 1);
  }
  if (p == std::string_view::npos) return 0;
  return static_cast<int>(CharCount(text.substr(0, p))) + 1;
}

}  // namespace vt
