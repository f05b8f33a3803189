#pragma once
// Where Insert and Number put their text into a name part.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vt {

namespace Placement {
inline constexpr std::uint8_t ToEnd = 0;
inline constexpr std::uint8_t AtBeginning = 1;
inline constexpr std::uint8_t FromBeginning = 2;
inline constexpr std::uint8_t FromEnd = 3;
}  // namespace Placement

// 1-based insert position for a name part of length characters and offset p;
// none for an index outside the table.
std::optional<int> InsertPosition(std::uint8_t index, int length, int p);

// Inserts text into name as the index says; false (name untouched) for an
// index outside the table.
bool PlaceText(std::string_view text, std::string& name, std::uint8_t index, int p);

}  // namespace vt
