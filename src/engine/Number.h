#pragma once
#include <cstdint>
#include <string>

#include "engine/RenameSettings.h"
#include "engine/StepResult.h"

namespace vt {

// The counter in decimal, zero-padded to width when zeroPad is set; a negative
// number keeps its sign in front of the zeros ("-01" for width 3).
std::string NumberText(std::int32_t counter, int width, bool zeroPad);

// True when the base name asks for the file's own name part: "ORIGINAL NAME"
// without regard to ASCII case or trailing blanks.
bool IsOriginalName(const std::string& baseName);

// Operation 3: numbers the name part and advances counter for every entry
// that gets a number.
TStepResult NumberStep(const TNumberInfos& infos, std::int32_t& counter, std::string& name);

}  // namespace vt
