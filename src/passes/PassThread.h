#pragma once
// A running pass and its worker, owned by the front end that started it. The
// owner takes the rows from Rows() on its own thread, whenever it likes; the
// worker never waits for it. Destroying the owner stops a rename pass and joins
// the worker (a recover pass runs to its end first), so a pass never outlives
// its owner and nothing of it is left once the owner is gone.
#include <atomic>
#include <cstddef>
#include <memory>
#include <thread>

#include "engine/RenameSettings.h"
#include "engine/RenameStep.h"
#include "passes/PassJournal.h"
#include "passes/RowQueue.h"
#include "passes/SearchPassOptions.h"
#include "passes/UndoList.h"

namespace vt {

class TSearchThread;
class TUndoThread;

enum class TPassWork { Search, Undo };

class TPassThread {
 public:
  // recordAll outlives the pass; bound: see TRowQueue.
  TPassThread(const TSearchPassOptions& options, const TRenameSettings& settings, TPassMode mode,
              const std::atomic<bool>& recordAll, std::size_t bound = TRowQueue::kUnbounded);
  // journal: see TUndoThread.
  TPassThread(TUndoList undoList, const std::atomic<bool>& recordAll, std::size_t bound = TRowQueue::kUnbounded,
              IPassJournal* journal = nullptr);
  ~TPassThread();
  TPassThread(const TPassThread&) = delete;
  TPassThread& operator=(const TPassThread&) = delete;

  TPassWork Work() const { return Search_ ? TPassWork::Search : TPassWork::Undo; }
  bool Simulation() const;
  // A rename pass skips its remaining work and ends; a recover pass runs on.
  void RequestStop();
  bool StopRequested() const;

  TRowQueue& Rows() { return Queue_; }
  // Waits for the worker; the queue holds every row then.
  void Join();

 private:
  void Start();

  TRowQueue Queue_;
  std::unique_ptr<TSearchThread> Search_;
  std::unique_ptr<TUndoThread> Undo_;
  std::jthread Worker_;  // last: joined before the pass it runs goes
};

}  // namespace vt
