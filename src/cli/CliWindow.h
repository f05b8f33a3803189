#pragma once
// The window the passes talk to when they run from the command line: the result
// table, the run state and the status texts, with no widgets. Every row a pass
// appends to the table is handed to a row sink at once, so rows can be written
// out while the pass runs; rows put in before the pass (a loaded result file)
// are not. All calls come through TSerialDispatcher, under its lock, or from the
// run control under the same lock.
#include <atomic>
#include <cstddef>
#include <functional>
#include <string>

#include "cli/RowTally.h"
#include "passes/ResultTable.h"
#include "passes/RunWindow.h"

namespace vt {

enum class TRowKeeping {
  Keep,  // the table holds every row (an aligned table, a result file to save)
  Drop,  // each row leaves the table once the sink has it: a large pass holds no rows
};

class TCliWindow final : public IRunWindow, private IResultTableObserver {
 public:
  // The row, and the errno of the rename the system refused for it (0 for none).
  using RowSink = std::function<void(const TResultRow&, int systemError)>;

  TCliWindow(TRowKeeping keeping, RowSink sink, bool recordAllMessages);
  ~TCliWindow() override;
  TCliWindow(const TCliWindow&) = delete;
  TCliWindow& operator=(const TCliWindow&) = delete;

  // IRunWindow
  TResultTable& ResultTable() override { return Table_; }
  void EnableSearchControls(bool enable) override;
  void SetStatusText(int panel, const std::string& text) override;
  bool FRunning() const override { return Running_; }
  void SetFRunning(bool running) override { Running_ = running; }
  bool FSimulation() const override { return Simulation_; }
  void SetFSimulation(bool simulation) override { Simulation_ = simulation; }
  void RefreshFileList() override {}
  void EnableUndo() override { UndoEnabled_ = true; }
  const std::atomic<bool>& RecordAllMessages() const override { return RecordAll_; }
  void NoteNextRow(TRenameStatus status, int systemError) override;
  void DisableSaveResult() override {}  // the command line saves when told to

  // Rows seen, and rows whose status says a file could not be renamed or found.
  std::size_t RowsSeen() const { return RowsSeen_.load(std::memory_order_relaxed); }
  std::size_t FailedRows() const { return FailedRows_; }
  const TRowTally& Tally() const { return Tally_; }
  bool UndoEnabled() const { return UndoEnabled_; }
  const std::string& StatusText(int panel) const { return Panels_[panel == 0 ? 0 : 1]; }

 private:
  void RowsAppended(std::size_t first, std::size_t count) override;
  void RowsCleared() override {}
  void LayoutChanged() override {}

  TResultTable Table_;
  TRowKeeping Keeping_;
  RowSink Sink_;
  std::atomic<bool> RecordAll_;
  bool Running_ = false;
  bool Simulation_ = false;
  bool UndoEnabled_ = false;
  bool Streaming_ = false;  // while the run controls are off: from the start of a pass to its end
  bool Dropping_ = false;
  std::string Panels_[2];
  std::atomic<std::size_t> RowsSeen_{0};  // read by the progress line
  std::size_t FailedRows_ = 0;
  TRowTally Tally_;
  // What the pass said of the row it appends next.
  bool NextRowNoted_ = false;
  TRenameStatus NextStatus_ = TRenameStatus::rsOk;
  int NextError_ = 0;
};

// "Error" and "File not found": the rows that make the exit status 1.
bool IsFailedStatus(const std::string& statusText);

}  // namespace vt
