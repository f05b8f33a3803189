#include "passes/RunControl.h"

#include <string>

#include "engine/Messages.h"

namespace vt {

TRunControl::TRunControl(IRunWindow& window, IDispatcher& dispatcher)
    : Window_(window), Dispatcher_(dispatcher), ReleasedWhenDone_(dispatcher.ReleasedCount()) {}

TRunControl::~TRunControl() {
  if (!PassAlive()) return;
  RequestStop();
  WaitForPass();
}

bool TRunControl::PassAlive() const { return Dispatcher_.ReleasedCount() < ReleasedWhenDone_; }

void TRunControl::WaitForPass() {
  Dispatcher_.RunUntil([this] { return !PassAlive(); });
}

void TRunControl::WaitForPass(std::chrono::milliseconds tick, const std::function<void()>& onTick) {
  Dispatcher_.RunUntil([this] { return !PassAlive(); }, tick, onTick);
}

TWindowFacts TRunControl::Facts() const {
  TWindowFacts facts;
  facts.HasRows = Window_.ResultTable().RowCount() > 0;
  facts.Simulation = Window_.FSimulation();
  facts.Running = Window_.FRunning();
  facts.PassAlive = PassAlive();
  return facts;
}

void TRunControl::Rename(const TSearchPassOptions& options, const TControlValues& controls) {
  BeforeStart();
  StartSearchPass(options, controls);
}

void TRunControl::Simulate(const TSearchPassOptions& options, const TControlValues& controls) {
  BeforeStart();
  Window_.SetFSimulation(true);
  Window_.ResultTable().SetTextColor(TextColor::Gray);
  Window_.DisableSaveResult();
  StartSearchPass(options, controls);
}

void TRunControl::BeforeStart() {
  // The commands come back in the end handler, a moment before the worker is
  // released: a pass started in that moment waits for the release, so that the
  // one-pass-at-a-time rule and the count of released passes both hold.
  if (PassAlive()) WaitForPass();
}

void TRunControl::StartSearchPass(const TSearchPassOptions& options, const TControlValues& controls) {
  Window_.ResultTable().Clear();
  Window_.SetStatusText(0, std::string());
  Window_.EnableSearchControls(false);
  if (!Window_.FSimulation()) Window_.ResultTable().SetTextColor(TextColor::Black);
  Window_.SetFRunning(true);
  ReleasedWhenDone_ = Dispatcher_.ReleasedCount() + 1;
  Running_ = TPassKind::Search;
  FSearchThread_ = TSearchThread::Start(Window_, Dispatcher_, options, controls);
}

void TRunControl::Recover(IPassJournal* journal) {
  BeforeStart();
  Window_.SetStatusText(0, std::string());
  Window_.EnableSearchControls(false);
  Window_.SetFRunning(true);
  ReleasedWhenDone_ = Dispatcher_.ReleasedCount() + 1;
  Running_ = TPassKind::Undo;
  FUndoThread_ = TUndoThread::Start(Window_, Dispatcher_, journal);
}

void TRunControl::RequestStop() {
  // FRunning is cleared by the end handler before the pass goes away, so the
  // reference is good while it is set.
  if (Window_.FRunning() && Running_ == TPassKind::Search) FSearchThread_->RequestStop();
}

bool TRunControl::Stop() {
  if (!Window_.FRunning()) return false;
  RequestStop();
  Window_.SetFRunning(false);
  Window_.SetStatusText(1, std::string(Message(Msg::StoppedByUser)));
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
    case TAnswer::Yes:
      window.SaveResultToFile();
      return true;
    case TAnswer::No:
      return true;
    case TAnswer::Cancel:
      break;
  }
  return false;
}

}  // namespace vt
