#include "passes/RunControl.h"

#include <algorithm>
#include <span>
#include <string>

#include "passes/UndoThread.h"
#include "platform/FreeMemory.h"

namespace vt {

TRunControl::TRunControl(TResultTable& table, IPassEvents& events, std::size_t rowBound)
    : Table_(table), Events_(events), RowBound_(rowBound) {}

TRunControl::~TRunControl() {
  // The pass's own destructor stops it and joins its worker; nothing reaches
  // the owner any more.
  Pass_.reset();
}

bool TRunControl::Pump(std::chrono::microseconds budget) {
  if (!Pass_) return false;
  if (Next_ == Taken_.size()) {
    Taken_.clear();
    Next_ = 0;
    Ended_ = Pass_->Rows().Take(Taken_, Unreadable_);
  }
  for (const TUnreadableFolder& folder : Unreadable_) Events_.FolderUnreadable(folder.Folder, folder.Error);
  Unreadable_.clear();
  using Clock = std::chrono::steady_clock;
  const bool timed = budget != std::chrono::microseconds::max();
  const Clock::time_point until = timed ? Clock::now() + budget : Clock::time_point::max();
  constexpr std::size_t kSlice = 2048;
  while (Next_ < Taken_.size()) {
    const std::size_t count = timed ? std::min(kSlice, Taken_.size() - Next_) : Taken_.size() - Next_;
    Events_.PassRows(std::span<TPassRow>(Taken_).subspan(Next_, count));
    Next_ += count;
    if (timed && Clock::now() >= until) break;
  }
  if (Ended_ && Next_ == Taken_.size()) EndPass();
  return PassAlive();
}

void TRunControl::EndPass() {
  Pass_->Join();
  const TPassWork work = Pass_->Work();
  const TPassStopped stopped = Pass_->StopRequested() ? TPassStopped::Yes : TPassStopped::No;
  Pass_.reset();
  // The pass's rows, listing and batches are gone: their room goes back before
  // the end of the pass reads the folder again, or it would stay resident beside it.
  std::vector<TPassRow>().swap(Taken_);
  ReturnFreeMemory();
  Next_ = 0;
  Ended_ = false;
  Running_ = false;
  Simulation_ = false;
  // The kind still says a simulation ended, for whatever the owner decides by it.
  Events_.PassEnded(work == TPassWork::Search ? Kind_ : TPassKind::Recover, stopped);
}

void TRunControl::WaitForPass() { WaitForPass(std::chrono::milliseconds(20), {}); }

void TRunControl::WaitForPass(std::chrono::milliseconds tick, const std::function<void()>& onTick) {
  using Clock = std::chrono::steady_clock;
  Clock::time_point nextTick = Clock::now() + tick;
  while (Pump()) {
    if (Next_ < Taken_.size()) continue;  // rows left from a slice of the window's
    Pass_->Rows().WaitForRows(tick);
    if (Clock::now() >= nextTick) {
      if (onTick) onTick();
      nextTick = Clock::now() + tick;
    }
  }
}

TWindowFacts TRunControl::Facts() const {
  TWindowFacts facts;
  facts.HasRows = Table_.RowCount() > 0;
  facts.Simulation = Simulation_;
  facts.Running = Running_;
  facts.PassAlive = PassAlive();
  return facts;
}

void TRunControl::Rename(const TSearchPassOptions& options, const TRenameSettings& settings) {
  BeforeStart();
  StartSearchPass(TPassKind::Rename, options, settings);
}

void TRunControl::Simulate(const TSearchPassOptions& options, const TRenameSettings& settings) {
  BeforeStart();
  StartSearchPass(TPassKind::Simulate, options, settings);
}

void TRunControl::BeforeStart() {
  // One pass at a time: a stopped pass may still be finishing its last entry.
  if (PassAlive()) WaitForPass();
}

void TRunControl::StartSearchPass(TPassKind kind, const TSearchPassOptions& options, const TRenameSettings& settings) {
  Simulation_ = kind == TPassKind::Simulate;
  Table_.StartPassRows(Simulation_ ? TPassRows::Simulation : TPassRows::Renames);
  Table_.Clear();
  Running_ = true;
  Kind_ = kind;
  Events_.PassStarted(kind);
  const TPassMode mode = Simulation_ ? TPassMode::Simulate : TPassMode::Rename;
  Pass_ = std::make_unique<TPassThread>(options, settings, mode, RecordAll_, RowBound_);
}

void TRunControl::Recover(IPassJournal* journal) {
  BeforeStart();
  Running_ = true;
  Kind_ = TPassKind::Recover;
  // The rows are read now, on the owner's thread; the table then fills again
  // with one recover row per row read.
  TUndoList undoList = TUndoThread::BuildUndoList(Table_);
  if (!undoList.empty()) Table_.Clear();
  Events_.PassStarted(TPassKind::Recover);
  Pass_ = std::make_unique<TPassThread>(std::move(undoList), RecordAll_, RowBound_, journal);
}

void TRunControl::Recover(TUndoList rows, IPassJournal* journal) {
  BeforeStart();
  Running_ = true;
  Kind_ = TPassKind::Recover;
  Table_.Clear();
  Events_.PassStarted(TPassKind::Recover);
  Pass_ = std::make_unique<TPassThread>(std::move(rows), RecordAll_, RowBound_, journal);
}

void TRunControl::RequestStop() {
  if (Pass_ && Running_) Pass_->RequestStop();
}

bool TRunControl::Stop() {
  if (!Running_) return false;
  RequestStop();
  Running_ = false;
  return true;
}

bool TRunControl::CloseQuery(ICloseQueryWindow& window) {
  if (FirstCloseQuestion(Facts(), window.CommandStates()) == TCloseQuestion::StopPass) {
    if (window.Ask(TCloseQuestion::StopPass) != TAnswer::Yes) return false;
    // The box let the pass go on meanwhile; it may even have ended.
    RequestStop();
    window.WaitForPassEnd();
    // Every row of the pass is in the table now, so a save keeps them all.
    if (FirstCloseQuestion(Facts(), window.CommandStates()) == TCloseQuestion::SaveResult &&
        window.Ask(TCloseQuestion::SaveResult) == TAnswer::Yes)
      window.SaveResultToFile();
    return true;
  }
  // A stopped pass may still be adding its last row.
  if (PassAlive()) window.WaitForPassEnd();
  if (FirstCloseQuestion(Facts(), window.CommandStates()) != TCloseQuestion::SaveResult) return true;
  window.ShowResultPage();
  switch (window.Ask(TCloseQuestion::SaveResult)) {
    case TAnswer::Yes: window.SaveResultToFile(); return true;
    case TAnswer::No: return true;
    case TAnswer::Cancel: break;
  }
  return false;
}

}  // namespace vt
