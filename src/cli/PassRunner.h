#pragma once
// Runs one pass from the main thread, as the window would: prepares the window,
// starts the pass, then waits until the worker has released it, meanwhile showing
// progress on a terminal and turning Ctrl-C into Stop.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>

#include "cli/CliWindow.h"
#include "cli/SerialDispatcher.h"
#include "engine/RenameSettings.h"
#include "passes/RunControl.h"
#include "passes/SearchThread.h"

namespace vt {

struct TRunnerEnvironment {
  std::FILE* Err = stderr;
  bool ProgressOnErr = false;            // standard error is a terminal
  std::function<bool()> Interrupted;     // polled while a pass runs
  std::chrono::milliseconds Tick{100};
  std::chrono::milliseconds ProgressAfter{1000};
};

enum class TPassEnd { Completed, StoppedByUser };

class TPassRunner {
 public:
  TPassRunner(TCliWindow& window, TRunnerEnvironment environment);

  TPassEnd RunSearch(TSearchPassOptions options, const TControlValues& controls, bool simulate);
  // The window's table holds the rows to undo. A recover has no Stop.
  void RunRecover(IPassJournal* journal = nullptr);
  // Stop for the running rename pass, as Ctrl-C gives it; from the main thread or
  // from a synchronised call of the pass (a row sink that finds its reader gone).
  void RequestStop();

 private:
  enum class TStoppable { Yes, No };
  void Wait(TStoppable stoppable, const std::function<void()>& requestStop, const char* unit);
  void ShowProgress(std::uint64_t count, const char* unit);
  void ClearProgress();

  TCliWindow& Window_;
  TSerialDispatcher Dispatcher_;
  TRunControl Control_{Window_, Dispatcher_};  // after the dispatcher: goes first
  TRunnerEnvironment Environment_;
  std::atomic<std::uint64_t> Progress_{0};
  std::atomic<bool> Stopped_{false};
  bool ProgressShown_ = false;
  std::size_t ProgressWidth_ = 0;
};

}  // namespace vt
