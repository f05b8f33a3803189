#pragma once
// The window's side of running passes, shared by the window and the command line:
// Rename, Simulate, Stop and Recover, the pass it owns, and the close request's
// questions. Everything here runs on the window thread.
//
// The run control owns the one pass that may be alive (passes/PassThread.h).
// The front end calls Pump on its own schedule (the window on a timer, the
// command line when woken): it moves the rows pushed so far into the window and,
// once the worker is done, ends the pass. Destroying the run control stops a
// rename pass and joins its worker without touching the window again.
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "engine/MessageKind.h"
#include "engine/RenameSettings.h"
#include "passes/CommandStates.h"
#include "passes/PassThread.h"
#include "passes/RowQueue.h"
#include "passes/RunWindow.h"
#include "passes/SearchPassOptions.h"

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
  // rowBound: rows a pass may have waiting before it waits for its reader (see
  // TRowQueue); a window never makes its pass wait.
  explicit TRunControl(IRunWindow& window, std::size_t rowBound = TRowQueue::kUnbounded);
  ~TRunControl();
  TRunControl(const TRunControl&) = delete;
  TRunControl& operator=(const TRunControl&) = delete;

  // After the window's checks have passed: empty the table and panel 0, disable
  // the run commands, set the text colour and FRunning, start the pass. A pass
  // that is still alive is waited for first.
  void Rename(const TSearchPassOptions& options, const TRenameSettings& settings);
  // The same as a simulation: grey text, Save Result disabled.
  void Simulate(const TSearchPassOptions& options, const TRenameSettings& settings);
  // Stop request to a running rename pass (a recover pass runs on), FRunning
  // cleared, "Process stopped by user..." in panel 1. False when nothing ran.
  bool Stop();
  // A recover pass over the rows of the table. Runs no checks and asks nothing.
  // journal, when given, records the renames back ahead of them.
  void Recover(IPassJournal* journal = nullptr);

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
  // What the enabling rules look at.
  TWindowFacts Facts() const;
  // The pass alive, for hooks that want to stop it; null when none.
  TPassThread* Pass() const { return Pass_.get(); }

 private:
  void StartSearchPass(const TSearchPassOptions& options, const TRenameSettings& settings);
  void BeforeStart();
  // Only the stop request, as closing the window sends it.
  void RequestStop();
  void EndPass();

  IRunWindow& Window_;
  std::size_t RowBound_;
  std::unique_ptr<TPassThread> Pass_;
  std::vector<TPassRow> Taken_;  // reused from batch to batch
  std::size_t Next_ = 0;         // the first row of Taken_ not yet handed on
  bool Ended_ = false;           // the queue said the pass has ended
  std::vector<TUnreadableFolder> Unreadable_;
};

}  // namespace vt
