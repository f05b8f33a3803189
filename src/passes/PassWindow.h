#pragma once
// What the run control needs of the window to run passes. Every call is made on
// the window thread; no pass sees the window.
#include <atomic>
#include <span>
#include <string>

#include "passes/PassRow.h"
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
  // Mirror of "To Record all messages", kept up to date by the window; read by
  // the running pass for every entry.
  virtual const std::atomic<bool>& RecordAllMessages() const = 0;

  // The pass's events, in pass order. Rows: the next rows the pass pushed, to be
  // appended to the table.
  virtual void PassRows(std::span<const TPassRow> rows) { ResultTable().AppendRows(rows); }
  // A folder of the walk could not be read (errno); it contributed nothing.
  virtual void FolderUnreadable(const std::string& /*folder*/, int /*error*/) {}
};

}  // namespace vt
