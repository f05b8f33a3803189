#include "results/TextCut.h"

namespace vt {
namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the UTF-8 sequence a lead byte opens; 0 for a byte that opens none.
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

std::string_view CutText(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text;
  // Walk back over the continuation bytes before the cut to the byte that leads them.
  std::size_t lead = limit;
  while (lead > 0 && limit - lead < 3 && IsContinuation(static_cast<unsigned char>(text[lead])))
    --lead;
  if (lead == limit) return text.substr(0, limit);  // the cut falls between characters
  const std::size_t length = SequenceLength(static_cast<unsigned char>(text[lead]));
  if (length == 0 || lead + length <= limit || lead + length > text.size())
    return text.substr(0, limit);
  for (std::size_t i = lead + 1; i < lead + length; ++i)
    if (!IsContinuation(static_cast<unsigned char>(text[i]))) return text.substr(0, limit);
  return text.substr(0, lead);
}

}  // namespace vt
