#pragma once
// The values of the window's settings controls, as a pass and its checks read
// them when it starts.
#include "engine/RenameSettings.h"

namespace vt {

struct TControlPageControls;
struct TSettingsPagesControls;

TControlValues ReadControlValues(const TControlPageControls& page, const TSettingsPagesControls& settings);

}  // namespace vt
