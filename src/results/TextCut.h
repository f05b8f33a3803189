#pragma once
// Texts longer than a short string holds are cut before they are written.
#include <cstddef>
#include <string_view>

namespace vt {

// The first `limit` bytes of text at most; a cut never splits a UTF-8 character.
// Bytes that do not form UTF-8 are cut at the limit itself.
std::string_view CutText(std::string_view text, std::size_t limit);

}  // namespace vt
