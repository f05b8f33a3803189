#pragma once
#include <string>

#include "engine/RenameSettings.h"
#include "engine/StepResult.h"

namespace vt {

// Operation 2: removes a matched text or a number of characters from the name
// part; a name part is never removed completely ("No change").
TStepResult RemoveStep(const TDeleteInfos& infos, std::string& name);

}  // namespace vt
