#pragma once
// What the run control needs of the window besides what a pass needs. Every call
// is made on the window thread.
#include "passes/PassWindow.h"

namespace vt {

class IRunWindow : public IPassWindow {
 public:
  // Save Result and its menu item: a simulation's rows are never saved.
  virtual void DisableSaveResult() = 0;
};

}  // namespace vt
