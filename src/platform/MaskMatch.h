#pragma once
// File masks as the listing reads them: "*" any run of characters, "?" exactly
// one character, ASCII letters without regard to case, everything else literal.
// A mask ending in ".*" also selects the names that match it without that tail,
// so "*.*" selects every name and "read.*" selects "read" too.
#include <string_view>

namespace vt {

bool MaskMatches(std::string_view mask, std::string_view name);

}  // namespace vt
