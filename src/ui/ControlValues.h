#pragma once
// The values of the window's settings controls, as a pass and its checks read
// them when it starts.
#include "engine/RenameSettings.h"
#include "passes/SearchThread.h"

namespace vt {

struct TForm1Controls;

TControlValues ReadControlValues(const TForm1Controls& controls);
// The folder of the folder list with a final "/", the masks of EdSearch and
// "Include sub-directories".
TSearchPassOptions PassOptions(const TForm1Controls& controls);

}  // namespace vt
