#include "passes/PassEnd.h"

#include <string>

#include "engine/Messages.h"

namespace vt {

void ShowPassEnd(IPassWindow& window) {
  window.SetFRunning(false);
  window.SetStatusText(0, std::string(Message(Msg::ProcessOk)));
  window.RefreshFileList();
  if (window.ResultTable().RowCount() > 0) window.EnableUndo();
}

void EndSearchPass(IPassWindow& window, TPassStopped stopped) {
  ShowPassEnd(window);
  window.EnableSearchControls(true);
  if (window.FSimulation()) window.SetFSimulation(false);
  if (stopped == TPassStopped::No) window.SetStatusText(1, std::string());
}

void EndUndoPass(IPassWindow& window) {
  ShowPassEnd(window);
  window.EnableSearchControls(true);
}

}  // namespace vt
