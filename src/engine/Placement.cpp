#include "engine/Placement.h"

#include "engine/StringPrimitives.h"

namespace vt {

std::optional<int> InsertPosition(TPlacement index, int length, int p) {
  switch (index) {
    case TPlacement::ToEnd: return length + 1;
    case TPlacement::AtBeginning: return 1;
    case TPlacement::FromBeginning: return p;
    case TPlacement::FromEnd: return length + 1 - p;
    default: return std::nullopt;
  }
}

bool PlaceText(std::string_view text, std::string& name, TPlacement index, int p) {
  const std::optional<int> at = InsertPosition(index, Length(name), p);
  if (!at) return false;
  Insert(text, name, *at);  // clamps below 1 and past the end
  return true;
}

}  // namespace vt
