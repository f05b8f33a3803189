#pragma once
#include <string>
#include <string_view>

namespace vt {

// Builds a replacement by position: character i of the replace pattern stands
// for character i of the matched text; "?" copies that character, "*" copies
// the matched text from there to its end. Other characters are kept as typed.
std::string WildReplace(std::string_view replacePattern, std::string_view matched);

}  // namespace vt
