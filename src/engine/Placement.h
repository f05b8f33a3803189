#pragma once
// Where Insert and Number put their text into a name part.
#include <optional>
#include <string>
#include <string_view>

#include "engine/SettingsIndexes.h"

namespace vt {

// 1-based insert position for a name part of length characters and offset p;
// none for an index outside the table.
std::optional<int> InsertPosition(TPlacement index, int length, int p);

// Inserts text into name as the index says; false (name untouched) for an
// index outside the table.
bool PlaceText(std::string_view text, std::string& name, TPlacement index, int p);

}  // namespace vt
