#pragma once
#include <string>

#include "engine/RenameSettings.h"
#include "engine/StepResult.h"

namespace vt {

// Operation 0: finds SearchFor (a wildcard pattern; a "." splits it into a name
// and an extension pattern) and replaces it by ReplaceWith, whose wildcards are
// filled from the matched text.
TStepResult SearchReplaceStep(const TReplaceInfos& infos, std::string& name, std::string& ext);

}  // namespace vt
