#include "cli/PassRunner.h"

#include <algorithm>
#include <string>
#include <utility>

#include "engine/Messages.h"

namespace vt {

TPassRunner::TPassRunner(TCliWindow& window, TRunnerEnvironment environment)
    : Window_(window), Environment_(std::move(environment)) {}

TPassEnd TPassRunner::RunSearch(TSearchPassOptions options, const TRenameSettings& settings, bool simulate) {
  Progress_ = 0;
  Stopped_ = false;
  options.Progress = &Progress_;
  if (simulate)
    Control_.Simulate(options, settings);
  else
    Control_.Rename(options, settings);
  Wait(TStoppable::Yes, "entries");
  return Stopped_ ? TPassEnd::StoppedByUser : TPassEnd::Completed;
}

void TPassRunner::RequestStop() {
  if (Control_.Stop()) Stopped_ = true;
}

void TPassRunner::RunRecover(IPassJournal* journal) {
  Stopped_ = false;
  Control_.Recover(journal);
  Wait(TStoppable::No, "rows");
}

void TPassRunner::Wait(TStoppable stoppable, const char* unit) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point started = Clock::now();
  bool interruptSeen = false;
  Control_.WaitForPass(Environment_.Tick, [&] {
    const bool interrupted = Environment_.Interrupted && Environment_.Interrupted();
    if (interrupted && !interruptSeen) {
      interruptSeen = true;
      ClearProgress();
      if (stoppable == TStoppable::Yes) {
        RequestStop();
        if (Stopped_)
          std::fprintf(Environment_.Err, "veltrane-cli: %s\n", std::string(Message(Msg::StoppedByUser)).c_str());
      } else {
        std::fputs("veltrane-cli: a recover runs to its end\n", Environment_.Err);
      }
      std::fflush(Environment_.Err);
    }
    if (Environment_.ProgressOnErr && Clock::now() - started >= Environment_.ProgressAfter) {
      const std::uint64_t count =
          stoppable == TStoppable::Yes ? Progress_.load(std::memory_order_relaxed) : Window_.RowsSeen();
      ShowProgress(count, unit);
    }
  });
  ClearProgress();
}

void TPassRunner::ShowProgress(std::uint64_t count, const char* unit) {
  const std::string line = std::to_string(count) + " " + unit + " handled";
  ProgressWidth_ = std::max(ProgressWidth_, line.size());
  std::fprintf(Environment_.Err, "\r%s", line.c_str());
  std::fflush(Environment_.Err);
  ProgressShown_ = true;
}

void TPassRunner::ClearProgress() {
  if (!ProgressShown_) return;
  std::fprintf(Environment_.Err, "\r%s\r", std::string(ProgressWidth_, ' ').c_str());
  std::fflush(Environment_.Err);
  ProgressShown_ = false;
}

}  // namespace vt
