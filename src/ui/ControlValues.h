#pragma once
// The values of the window's settings controls, as a pass and its checks read
// them when it starts.
#include "engine/RenameSettings.h"

namespace vt {

struct TForm1Controls;

TControlValues ReadControlValues(const TForm1Controls& controls);

}  // namespace vt
