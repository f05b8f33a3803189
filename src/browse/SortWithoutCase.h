#pragma once
// Alphabetical order without regard to case, as the user's locale sorts.
#include <string>
#include <vector>

namespace vt {

// Sorts byte names (UTF-8) in place; names equal but for case keep a fixed order.
// The C locale has no collation of its own: there ASCII letters are folded and
// every other byte keeps its value.
void SortWithoutCase(std::vector<std::string>& names);

}  // namespace vt
