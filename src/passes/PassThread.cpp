#include "passes/PassThread.h"

#include <utility>

#include "passes/SearchThread.h"
#include "passes/UndoThread.h"
#include "platform/FreeMemory.h"

namespace vt {

TPassThread::TPassThread(const TSearchPassOptions& options, const TRenameSettings& settings, TPassMode mode,
                         const std::atomic<bool>& recordAll, std::size_t bound)
    : Queue_(bound), Search_(std::make_unique<TSearchThread>(Queue_, options, settings, mode, recordAll)) {
  Start();
}

TPassThread::TPassThread(TUndoList undoList, const std::atomic<bool>& recordAll, std::size_t bound,
                         IPassJournal* journal)
    : Queue_(bound), Undo_(std::make_unique<TUndoThread>(Queue_, std::move(undoList), recordAll, journal)) {
  Start();
}

void TPassThread::Start() {
  Worker_ = std::jthread([this] {
    if (Search_)
      Search_->Execute();
    else
      Undo_->Execute();
    // The walk's listings are freed in this thread's own pool, which no other
    // thread takes from: back to the system while the owner still takes rows.
    ReturnFreeMemory();
    Queue_.End();
  });
}

TPassThread::~TPassThread() {
  RequestStop();
  // No one takes the rows any more: a bounded queue must not hold the worker.
  Queue_.Unbind();
}

void TPassThread::RequestStop() {
  if (Search_) Search_->RequestStop();
}

bool TPassThread::Simulation() const { return Search_ && Search_->Simulation(); }

bool TPassThread::StopRequested() const { return Search_ && Search_->StopRequested(); }

void TPassThread::Join() {
  if (Worker_.joinable()) Worker_.join();
}

}  // namespace vt
