#pragma once
#include <cstdint>
#include <string>

#include "engine/RenameSettings.h"
#include "engine/StepResult.h"

namespace vt {

namespace RemoveKind {
inline constexpr std::uint8_t String = 0;
inline constexpr std::uint8_t Characters = 1;
}  // namespace RemoveKind

namespace RemoveFrom {
inline constexpr std::uint8_t Beginning = 0;
inline constexpr std::uint8_t End = 1;
inline constexpr std::uint8_t OffsetFromBeginning = 2;
inline constexpr std::uint8_t OffsetFromEnd = 3;
}  // namespace RemoveFrom

// Operation 2: removes a matched text or a number of characters from the name
// part; a name part is never removed completely ("No change").
TStepResult RemoveStep(const TDeleteInfos& infos, std::string& name);

}  // namespace vt
