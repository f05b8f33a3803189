#pragma once
// What a pass started from the window takes from its controls: the settings of
// the operation and where the pass walks.
#include "engine/RenameSettings.h"
#include "passes/SearchThread.h"

namespace vt {

struct TForm1Controls;

TControlValues ControlValues(const TForm1Controls& form);
// The folder of the folder list with a final "/", the masks of EdSearch and
// "Include sub-directories".
TSearchPassOptions PassOptions(const TForm1Controls& form);

}  // namespace vt
