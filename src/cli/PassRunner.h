#pragma once
// Runs one pass from the main thread and takes its events: starts the pass,
// then hands its rows to the row sink as they come until it has ended,
// meanwhile showing progress on a terminal and turning Ctrl-C into Stop.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "cli/PassRowSink.h"
#include "engine/RenameSettings.h"
#include "passes/PassEvents.h"
#include "passes/RunControl.h"
#include "passes/SearchThread.h"

namespace vt {

struct TRunnerEnvironment {
  std::FILE* Err = stderr;
  bool ProgressOnErr = false;         // standard error is a terminal
  std::function<bool()> Interrupted;  // polled while a pass runs
  std::chrono::milliseconds Tick{100};
  std::chrono::milliseconds ProgressAfter{1000};
  // Rows a pass may run ahead of the output: a reader that stops reading stops
  // the renames soon after.
  std::size_t RowsAhead = 4096;
};

enum class TPassEnd { Completed, StoppedByUser };

class TPassRunner final : private IPassEvents {
 public:
  using UnreadableSink = std::function<void(const std::string& folder, int error)>;

  TPassRunner(TPassRowSink& rows, TRunnerEnvironment environment);
  TPassRunner(const TPassRunner&) = delete;
  TPassRunner& operator=(const TPassRunner&) = delete;

  // A folder of the walk that could not be read (errno).
  void SetUnreadableSink(UnreadableSink sink) { Unreadable_ = std::move(sink); }

  TPassEnd RunSearch(TSearchPassOptions options, const TRenameSettings& settings, bool simulate);
  // The row sink's table holds the rows to undo. A recover has no Stop.
  void RunRecover(IPassJournal* journal = nullptr);
  // Of rows read into a list instead; the sink's table only takes the recover rows.
  void RunRecover(TUndoList rows, IPassJournal* journal);
  // Stop for the running rename pass, as Ctrl-C gives it; on the main thread,
  // also from a row sink that finds its reader gone.
  void RequestStop();
  const TRunControl& Control() const { return Control_; }

 private:
  enum class TStoppable { Yes, No };

  // IPassEvents
  void PassStarted(TPassKind kind) override;
  void PassRows(std::span<TPassRow> rows) override;
  void FolderUnreadable(const std::string& folder, int error) override;
  void PassEnded(TPassKind kind, TPassStopped stopped) override;

  void Wait(TStoppable stoppable);
  void ShowProgress(std::uint64_t count);
  void ClearProgress();

  TPassRowSink& Rows_;
  TRunnerEnvironment Environment_;
  UnreadableSink Unreadable_;
  std::atomic<std::uint64_t> Progress_{0};
  TPassKind Kind_ = TPassKind::Rename;  // of the pass started last
  std::chrono::steady_clock::time_point Started_;
  bool Stopped_ = false;  // the user's Stop reached the pass started last
  bool ProgressShown_ = false;
  std::size_t ProgressWidth_ = 0;
  TRunControl Control_{Rows_.ResultTable(), *this, Environment_.RowsAhead};  // last: its pass goes first
};

}  // namespace vt
