#pragma once
// Where a pass started from the window walks; its settings are captured from
// the control values (ui/ControlValues).
#include "engine/RenameSettings.h"
#include "passes/SearchThread.h"

namespace vt {

struct TControlPageControls;

// The folder of the folder list with a final "/", the masks of EdSearch and
// "Include sub-directories".
TSearchPassOptions PassOptions(const TControlPageControls& page);

}  // namespace vt
