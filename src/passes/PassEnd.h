#pragma once
#include "passes/PassWindow.h"

namespace vt {

// First end-of-pass step of both passes, on the window thread: the window idle
// again, "Process Ok." in panel 0, the file list re-read, Undo enabled when the
// table has rows.
void ShowPassEnd(IPassWindow& window);

}  // namespace vt
