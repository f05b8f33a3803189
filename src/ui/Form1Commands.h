#pragma once
// The run and result commands of the window as plain states: read from the menu
// items and set on each item together with its button.
#include "passes/CommandStates.h"

namespace vt {

struct TForm1Controls;

TCommandStates CommandStates(const TForm1Controls& form);
void SetCommandStates(TForm1Controls& form, const TCommandStates& states);

}  // namespace vt
