#pragma once
// Running passes, shared by the window and the command line: Rename, Simulate,
// Stop and Recover, the pass it owns, the run state, and the close request's
// questions. Everything here runs on the owner's thread.
//
// The run control owns the one pass that may be alive (passes/PassThread.h) and
// whether it runs and is a simulation. It tells its owner what happens through
// IPassEvents; the owner derives what it shows from that. The owner calls Pump
// on its own schedule (the window on a timer, the command line when woken): it
// hands on the rows pushed so far and, once the worker is done, ends the pass.
// Destroying the run control stops a rename pass and joins its worker without
// telling the owner anything more.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "engine/MessageKind.h"
#include "engine/RenameSettings.h"
#include "passes/CommandStates.h"
#include "passes/PassEvents.h"
#include "passes/PassThread.h"
#include "passes/ResultTable.h"
#include "passes/RowQueue.h"
#include "passes/SearchPassOptions.h"
#include "passes/UndoList.h"

namespace vt {

// What a close request needs of the window.
class ICloseQueryWindow {
 public:
  virtual ~ICloseQueryWindow() = default;
  // A confirmation box ("&Yes", "&No", "Cancel"); closing the box is Cancel.
  virtual TAnswer Ask(TCloseQuestion question) = 0;
  virtual TCommandStates CommandStates() const = 0;
  virtual void ShowResultPage() = 0;
  virtual void SaveResultToFile() = 0;
  // Waits until the pass has ended (TRunControl::WaitForPass), with whatever the
  // user should see meanwhile.
  virtual void WaitForPassEnd() = 0;
};

class TRunControl {
 public:
  // table: the owner's, emptied as passes start and read by Recover. rowBound:
  // rows a pass may have waiting before it waits for its reader (see
  // TRowQueue); a window never makes its pass wait.
  TRunControl(TResultTable& table, IPassEvents& events, std::size_t rowBound = TRowQueue::kUnbounded);
  ~TRunControl();
  TRunControl(const TRunControl&) = delete;
  TRunControl& operator=(const TRunControl&) = delete;

  // After the owner's checks have passed: empty the table, set the text colour
  // and the run state, tell PassStarted, start the pass. A pass that is still
  // alive is waited for first.
  void Rename(const TSearchPassOptions& options, const TRenameSettings& settings);
  // The same as a simulation: grey text.
  void Simulate(const TSearchPassOptions& options, const TRenameSettings& settings);
  // Stop request to a running rename pass (a recover pass runs on); the run
  // state says stopped at once, the pass ends later. False when nothing ran.
  bool Stop();
  // A recover pass over the rows of the table. Runs no checks and asks nothing.
  // journal, when given, records the renames back ahead of them.
  void Recover(IPassJournal* journal = nullptr);
  // The same over rows read straight into a list (the table stays empty and
  // fills with the recover rows): a front end that never shows the rows read
  // need not hold them twice.
  void Recover(TUndoList rows, IPassJournal* journal);

  // The close request: true lets the window close. A running pass is only left
  // behind after "&Yes", and then its end is waited for before anything is saved.
  bool CloseQuery(ICloseQueryWindow& window);

  // Takes the rows the pass has pushed into the window, and ends the pass once
  // its worker is done and every row is in. With a budget, rows are handed on in
  // slices until it is spent and the rest waits for the next call: a window that
  // fell behind catches up over a few turns of its loop instead of freezing in
  // one. True while a pass is still alive afterwards.
  bool Pump(std::chrono::microseconds budget = std::chrono::microseconds::max());
  // A pass has started and has not ended yet (it may have been stopped).
  bool PassAlive() const { return Pass_ != nullptr; }
  // Pumps until the pass has ended, waking for batches of rows; onTick is called
  // about every tick meanwhile.
  void WaitForPass();
  void WaitForPass(std::chrono::milliseconds tick, const std::function<void()>& onTick);
  // A pass runs and has not been stopped.
  bool Running() const { return Running_; }
  // The pass started last is a simulation and has not ended.
  bool Simulation() const { return Simulation_; }
  // "To Record all messages": read by a running pass for every entry, so a
  // change counts from the next one. Any thread may set it.
  void SetRecordAllMessages(bool all) { RecordAll_.store(all, std::memory_order_relaxed); }
  // What the enabling rules look at.
  TWindowFacts Facts() const;
  // The pass alive, for hooks that want to stop it; null when none.
  TPassThread* Pass() const { return Pass_.get(); }

 private:
  void StartSearchPass(TPassKind kind, const TSearchPassOptions& options, const TRenameSettings& settings);
  void BeforeStart();
  // Only the stop request, as closing the window sends it.
  void RequestStop();
  void EndPass();

  TResultTable& Table_;
  IPassEvents& Events_;
  std::size_t RowBound_;
  std::atomic<bool> RecordAll_{false};
  bool Running_ = false;
  bool Simulation_ = false;
  TPassKind Kind_ = TPassKind::Rename;  // of the pass alive
  std::unique_ptr<TPassThread> Pass_;   // after what it reads: goes first
  std::vector<TPassRow> Taken_;         // reused from batch to batch
  std::size_t Next_ = 0;                // the first row of Taken_ not yet handed on
  bool Ended_ = false;                  // the queue said the pass has ended
  std::vector<TUnreadableFolder> Unreadable_;
};

}  // namespace vt
