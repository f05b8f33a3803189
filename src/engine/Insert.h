#pragma once
#include <string>

#include "engine/RenameSettings.h"
#include "engine/StepResult.h"

namespace vt {

// Operation 1: inserts Text into the name part; the extension stays.
TStepResult InsertStep(const TInsertInfos& infos, std::string& name);

}  // namespace vt
