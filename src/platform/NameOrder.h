#pragma once
// The order listings hand out their entries in. A folder's own order is its
// file system's (hash order on ext4), which shuffles every table and numbers
// IMG_0010 before IMG_0001; users expect names in order.
#include <cstdint>
#include <string_view>
#include <vector>

namespace vt {

enum class NameOrder : std::uint8_t {
  // ASCII letters compared as upper case, then bytes: "a.txt" and "A.TXT" come
  // next to each other, "A.TXT" first.
  Name,
  // As Name, but runs of digits compared as numbers: IMG_2 before IMG_10.
  Natural,
  // As the folder stores them (for measuring what the order costs).
  AsStored,
};

// Below, equal to or above zero as a comes before, with or after b. Only
// byte-identical names compare equal under Name and Natural.
int CompareNames(std::string_view a, std::string_view b, NameOrder order);

// Positions into names, in the order asked for (the identity for AsStored).
std::vector<std::uint32_t> SortedPositions(const std::vector<std::string_view>& names, NameOrder order);

}  // namespace vt
