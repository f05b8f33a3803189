#include "cli/PassRunner.h"

#include <algorithm>
#include <string>
#include <utility>

#include "engine/Messages.h"

namespace vt {

TPassRunner::TPassRunner(TPassRowSink& rows, TRunnerEnvironment environment)
    : Rows_(rows), Environment_(std::move(environment)) {
  Control_.SetRecordAllMessages(Rows_.RecordAllMessages());
}

TPassEnd TPassRunner::RunSearch(TSearchPassOptions options, const TRenameSettings& settings, bool simulate) {
  Progress_ = 0;
  Stopped_ = false;
  options.Progress = &Progress_;
  if (simulate)
    Control_.Simulate(options, settings);
  else
    Control_.Rename(options, settings);
  Wait(TStoppable::Yes);
  return Stopped_ ? TPassEnd::StoppedByUser : TPassEnd::Completed;
}

void TPassRunner::RequestStop() {
  if (Control_.Stop()) Stopped_ = true;
}

void TPassRunner::RunRecover(IPassJournal* journal) {
  Stopped_ = false;
  Control_.Recover(journal);
  Wait(TStoppable::No);
}

void TPassRunner::RunRecover(TUndoList rows, IPassJournal* journal) {
  Stopped_ = false;
  Control_.Recover(std::move(rows), journal);
  Wait(TStoppable::No);
}

void TPassRunner::PassStarted(TPassKind kind) {
  Kind_ = kind;
  Started_ = std::chrono::steady_clock::now();
}

void TPassRunner::PassRows(std::span<TPassRow> rows) { Rows_.Add(rows); }

void TPassRunner::FolderUnreadable(const std::string& folder, int error) {
  if (Unreadable_) Unreadable_(folder, error);
}

// A pass that stops itself (its journal could not be written) was not stopped
// by the user: only RequestStop says that.
void TPassRunner::PassEnded(TPassKind /*kind*/, TPassStopped /*stopped*/) { ClearProgress(); }

void TPassRunner::Wait(TStoppable stoppable) {
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
    if (Environment_.ProgressOnErr && std::chrono::steady_clock::now() - Started_ >= Environment_.ProgressAfter)
      ShowProgress(Kind_ == TPassKind::Recover ? Rows_.RowsSeen() : Progress_.load(std::memory_order_relaxed));
  });
}

void TPassRunner::ShowProgress(std::uint64_t count) {
  const std::string line = std::to_string(count) + (Kind_ == TPassKind::Recover ? " rows" : " entries") + " handled";
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
