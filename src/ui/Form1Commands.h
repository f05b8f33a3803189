#pragma once
// The run and result commands of the window as plain states: read from the menu
// items and set on each item together with its button.
#include "passes/CommandStates.h"

namespace vt {

struct TResultPageControls;
struct TWindowControls;

TCommandStates CommandStates(const TWindowControls& window);
void SetCommandStates(TWindowControls& window, TResultPageControls& resultPage, const TCommandStates& states);

}  // namespace vt
