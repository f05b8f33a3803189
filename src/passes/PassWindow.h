#pragma once
// What a pass needs of the window. Every call is made on the window thread.
#include <atomic>
#include <string>

#include "engine/RenameStatus.h"
#include "passes/ResultTable.h"

namespace vt {

class IPassWindow {
 public:
  virtual ~IPassWindow() = default;
  virtual TResultTable& ResultTable() = 0;
  virtual void EnableSearchControls(bool enable) = 0;
  // panel 0 or 1 of the status bar
  virtual void SetStatusText(int panel, const std::string& text) = 0;
  virtual bool FRunning() const = 0;
  virtual void SetFRunning(bool running) = 0;
  virtual bool FSimulation() const = 0;
  virtual void SetFSimulation(bool simulation) = 0;
  // The file list's mask set to the empty text, then back to the masks typed.
  virtual void RefreshFileList() = 0;
  virtual void EnableUndo() = 0;  // SpBtUndo and its menu item
  // Mirror of "To Record all messages", kept up to date by the window; read by workers.
  virtual const std::atomic<bool>& RecordAllMessages() const = 0;
  // Called just before a pass appends a row: the row's status as a code, and the
  // errno of a rename the system refused (0 for none). The row itself holds texts
  // only; a window that explains failures keeps these.
  virtual void NoteNextRow(TRenameStatus /*status*/, int /*systemError*/) {}
};

}  // namespace vt
