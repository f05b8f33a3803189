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

}  // namespace vt
