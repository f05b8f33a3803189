#pragma once
// The values of the operation settings controls, as a pass and its checks read
// them when it starts. The operation is the operation list's, left as it is.
#include "engine/RenameSettings.h"

namespace vt {

struct TSettingsPagesControls;

TControlValues ReadControlValues(const TSettingsPagesControls& settings);

}  // namespace vt
