#include "results/TextCut.h"

#include "platform/Utf8Char.h"

namespace vt {

std::string_view CutText(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text;
  // A character that starts at most three bytes before the cut and reaches past it
  // is left out whole.
  for (std::size_t back = 1; back <= 3 && back <= limit; ++back) {
    const std::size_t start = limit - back;
    if ((static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) continue;
    return Utf8CharBytes(text, start) > back ? text.substr(0, start) : text.substr(0, limit);
  }
  return text.substr(0, limit);
}

}  // namespace vt
