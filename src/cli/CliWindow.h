#pragma once
// The window the run control talks to when passes run from the command line:
// the result table, the run state and the status texts, with no widgets. The
// rows of a pass come in batches on the main thread (TRunControl::Pump); each is
// handed to a row sink at once with its status and errno, so rows can be written
// out while the pass runs. Rows put in before the pass (a loaded result file)
// are not.
#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "cli/RowTally.h"
#include "passes/ResultTable.h"
#include "passes/RunWindow.h"

namespace vt {

enum class TRowKeeping {
  Keep,  // the table holds every row (an aligned table, a result file to save)
  Drop,  // each batch leaves the table once the sink has it: a large pass holds no rows
};

class TCliWindow final : public IRunWindow {
 public:
  // The row as the table words it, its status, and the errno of the rename the
  // system refused for it (0 for none).
  using RowSink = std::function<void(const TResultRow&, TRenameStatus status, int systemError)>;
  using UnreadableSink = std::function<void(const std::string& folder, int error)>;

  TCliWindow(TRowKeeping keeping, RowSink sink, bool recordAllMessages);
  TCliWindow(const TCliWindow&) = delete;
  TCliWindow& operator=(const TCliWindow&) = delete;

  void SetUnreadableSink(UnreadableSink sink) { Unreadable_ = std::move(sink); }

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
  void PassRows(std::span<const TPassRow> rows) override;
  void FolderUnreadable(const std::string& folder, int error) override;
  void DisableSaveResult() override {}  // the command line saves when told to

  // Rows seen, and rows whose status says a file could not be renamed or found.
  std::size_t RowsSeen() const { return RowsSeen_; }
  std::size_t FailedRows() const { return FailedRows_; }
  const TRowTally& Tally() const { return Tally_; }
  bool UndoEnabled() const { return UndoEnabled_; }
  const std::string& StatusText(int panel) const { return Panels_[panel == 0 ? 0 : 1]; }

 private:
  TResultTable Table_;
  TRowKeeping Keeping_;
  RowSink Sink_;
  UnreadableSink Unreadable_;
  std::atomic<bool> RecordAll_;
  bool Running_ = false;
  bool Simulation_ = false;
  bool UndoEnabled_ = false;
  std::string Panels_[2];
  std::size_t RowsSeen_ = 0;
  std::size_t FailedRows_ = 0;
  TRowTally Tally_;
};

}  // namespace vt
