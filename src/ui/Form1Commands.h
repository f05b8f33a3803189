#pragma once
// The run and result commands of the window as plain states: read from the menu
// items and set on each item together with its button (the buttons of the
// "Result" page follow their items through their link).
#include "passes/CommandStates.h"

namespace vt {

struct TForm1Controls;

TCommandStates CommandStates(const TForm1Controls& window);
void SetCommandStates(TForm1Controls& window, const TCommandStates& states);

}  // namespace vt
