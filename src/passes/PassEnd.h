#pragma once
#include "passes/PassWindow.h"

namespace vt {

// First end-of-pass step of both passes, on the window thread: the window idle
// again, "Process Ok." in panel 0, the file list re-read, Undo enabled when the
// table has rows.
void ShowPassEnd(IPassWindow& window);

enum class TPassStopped { No, Yes };

// The whole end of a rename pass: ShowPassEnd, then the controls back (while the
// window still sees the simulation, so Undo stays off after one), then the
// simulation mode off; panel 1 is emptied unless the user stopped the pass.
void EndSearchPass(IPassWindow& window, TPassStopped stopped);
// The end of a recover pass: ShowPassEnd, then the controls back.
void EndUndoPass(IPassWindow& window);

}  // namespace vt
