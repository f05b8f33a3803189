#pragma once
// Runs one pass from the main thread, as the window would: prepares the window,
// starts the pass, then takes its rows as they come until it has ended,
// meanwhile showing progress on a terminal and turning Ctrl-C into Stop.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>

#include "cli/CliWindow.h"
#include "engine/RenameSettings.h"
#include "passes/RunControl.h"
#include "passes/SearchThread.h"

namespace vt {

struct TRunnerEnvironment {
  std::FILE* Err = stderr;
  bool ProgressOnErr = false;         // standard error is a terminal
  std::function<bool()> Interrupted;  // polled while a pass runs
  std::chrono::milliseconds Tick{100};
  std::chrono::milliseconds ProgressAfter{1000};
};

enum class TPassEnd { Completed, StoppedByUser };

class TPassRunner {
 public:
  TPassRunner(TCliWindow& window, TRunnerEnvironment environment);

  TPassEnd RunSearch(TSearchPassOptions options, const TRenameSettings& settings, bool simulate);
  // The window's table holds the rows to undo. A recover has no Stop.
  void RunRecover(IPassJournal* journal = nullptr);
  // Stop for the running rename pass, as Ctrl-C gives it; on the main thread,
  // also from a row sink that finds its reader gone.
  void RequestStop();

 private:
  enum class TStoppable { Yes, No };
  void Wait(TStoppable stoppable, const char* unit);
  void ShowProgress(std::uint64_t count, const char* unit);
  void ClearProgress();

  // Rows a pass may run ahead of the output: a reader that stops reading stops
  // the renames soon after.
  static constexpr std::size_t kRowsAhead = 4096;

  TCliWindow& Window_;
  TRunnerEnvironment Environment_;
  std::atomic<std::uint64_t> Progress_{0};
  bool Stopped_ = false;
  bool ProgressShown_ = false;
  std::size_t ProgressWidth_ = 0;
  TRunControl Control_{Window_, kRowsAhead};  // last: its pass goes first
};

}  // namespace vt
