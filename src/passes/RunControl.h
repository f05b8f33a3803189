#pragma once
// The window's side of running passes, shared by the window and the command line:
// Rename, Simulate, Stop and Recover, the references to the passes started, and
// the close request's questions. Everything here runs on the window thread.
//
// At most one pass is alive at a time, and none outlives the run control: the
// destructor stops a rename pass that is still running and waits, answering the
// pass's calls, until it has been released. So a window that declares its run
// control after its dispatcher, its table and whatever a pass reads is never
// referred to by a worker once it is gone.
#include <chrono>
#include <cstddef>
#include <functional>

#include "engine/MessageKind.h"
#include "engine/RenameSettings.h"
#include "passes/CommandStates.h"
#include "passes/RunWindow.h"
#include "passes/SearchThread.h"
#include "passes/UndoThread.h"
#include "platform/Thread.h"

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
  // Waits until the pass has ended, answering its calls (TRunControl::WaitForPass),
  // with whatever the user should see meanwhile.
  virtual void WaitForPassEnd() = 0;
};

class TRunControl {
 public:
  TRunControl(IRunWindow& window, IDispatcher& dispatcher);
  ~TRunControl();
  TRunControl(const TRunControl&) = delete;
  TRunControl& operator=(const TRunControl&) = delete;

  // After the window's checks have passed: empty the table and panel 0, disable
  // the run commands, set the text colour and FRunning, start the pass. A pass
  // that has ended but is not yet released is waited for first.
  void Rename(const TSearchPassOptions& options, const TControlValues& controls);
  // The same as a simulation: grey text, Save Result disabled.
  void Simulate(const TSearchPassOptions& options, const TControlValues& controls);
  // Stop request to a running rename pass (a recover pass runs on), FRunning
  // cleared, "Process stopped by user..." in panel 1. False when nothing ran.
  bool Stop();
  // A recover pass over the rows of the table. Runs no checks and asks nothing.
  // journal, when given, records the renames back ahead of them.
  void Recover(IPassJournal* journal = nullptr);

  // The close request: true lets the window close. A running pass is only left
  // behind after "&Yes", and then its end is waited for before anything is saved.
  bool CloseQuery(ICloseQueryWindow& window);

  // A pass has started and has not been released yet (it may have been stopped).
  bool PassAlive() const;
  // Answers the pass's calls until it has been released.
  void WaitForPass();
  void WaitForPass(std::chrono::milliseconds tick, const std::function<void()>& onTick);
  // What the enabling rules look at.
  TWindowFacts Facts() const;

  // The passes started last; valid only while the window's FRunning() is true.
  TSearchThread* FSearchThread() const { return FSearchThread_; }
  TUndoThread* FUndoThread() const { return FUndoThread_; }

 private:
  enum class TPassKind { None, Search, Undo };
  void StartSearchPass(const TSearchPassOptions& options, const TControlValues& controls);
  void BeforeStart();
  // Only the stop request, as closing the window sends it.
  void RequestStop();

  IRunWindow& Window_;
  IDispatcher& Dispatcher_;
  TSearchThread* FSearchThread_ = nullptr;
  TUndoThread* FUndoThread_ = nullptr;
  TPassKind Running_ = TPassKind::None;  // the kind of the pass started last
  std::size_t ReleasedWhenDone_ = 0;     // the dispatcher's count once that pass is gone
};

}  // namespace vt
