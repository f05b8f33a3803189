#pragma once
// The meanings of the settings' list indexes. Each is stored in 8 bits as the
// control's item index; an index outside its table stays representable (no
// selection arrives as 255) and the operations give it a meaning of its own.
#include <cstdint>

namespace vt {

// The item of the operation list, which is also its settings page.
enum class TOperation : std::uint8_t {
  SearchReplace = 0,
  Insert = 1,
  Remove = 2,
  Number = 3,
  ChangeCase = 4,
  Truncate = 5,
};

// Where Insert and Number put their text into a name part.
enum class TPlacement : std::uint8_t {
  ToEnd = 0,
  AtBeginning = 1,
  FromBeginning = 2,
  FromEnd = 3,
};

// What Remove takes out.
enum class TRemoveKind : std::uint8_t {
  String = 0,
  Characters = 1,
};

// Where Remove counts its characters from.
enum class TRemoveFrom : std::uint8_t {
  Beginning = 0,
  End = 1,
  OffsetFromBeginning = 2,
  OffsetFromEnd = 3,
};

enum class TCaseKind : std::uint8_t {
  Upper = 0,
  Lower = 1,
  FirstUpperIgnoreRest = 2,
  FirstUpperRestLower = 3,
  Weird = 4,
};

enum class TTruncateKind : std::uint8_t {
  ShortName = 0,
  MaxChars = 1,
};

// A control's item index (-1 for no selection) as the 8 bits a setting keeps.
template <class E>
constexpr E FromControlIndex(int index) {
  return static_cast<E>(static_cast<std::uint8_t>(index));
}

// The item index of a control that shows the value.
template <class E>
constexpr int ControlIndex(E value) {
  return static_cast<int>(value);
}

}  // namespace vt
