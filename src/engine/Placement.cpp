#include "engine/Placement.h"

#include "engine/StringPrimitives.h"

namespace vt {

std::optional<int> InsertPosition(std::uint8_t index, int length, int p) {
  switch (index) {
    case Placement::ToEnd: return length + 1;
    case Placement::AtBeginning: return 1;
    case Placement::FromBeginning: return p;
    case Placement::FromEnd: return length + 1 - p;
    default: return std::nullopt;
  }
}

bool PlaceText(std::string_view text, std::string& name, std::uint8_t index, int p) {
  const std::optional<int> at = InsertPosition(index, Length(name), p);
  if (!at) return false;
  Insert(text, name, *at);  // clamps below 1 and past the end
  return true;
}

}  // namespace vt
