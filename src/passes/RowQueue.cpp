#include "passes/RowQueue.h"

#include <iterator>
#include <utility>

namespace vt {

void TRowQueue::WaitForRoom(std::unique_lock<std::mutex>& lock) {
  if (Bound_ == kUnbounded || Rows_.size() < Bound_) return;
  WorkerWaiting_ = true;
  WorkerWake_.wait(lock, [&] { return Bound_ == kUnbounded || Rows_.size() < Bound_; });
  WorkerWaiting_ = false;
}

// A reader is woken per batch, and only while it waits: each wake costs both
// threads a trip through the scheduler.
void TRowQueue::Push(TPassRow row) {
  std::unique_lock lock(Mutex_);
  WaitForRoom(lock);
  Rows_.push_back(std::move(row));
  Added(lock);
}

void TRowQueue::PushAll(std::vector<TPassRow>& rows) {
  if (rows.empty()) return;
  std::unique_lock lock(Mutex_);
  WaitForRoom(lock);
  // A reader that keeps up has taken everything: the batch changes hands whole,
  // and the worker gets the room the reader gave back.
  if (Rows_.empty())
    Rows_.swap(rows);
  else
    Rows_.insert(Rows_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
  Added(lock);
  rows.clear();
}

void TRowQueue::Added(std::unique_lock<std::mutex>& lock) {
  const bool wake = ReaderToWake();
  lock.unlock();
  if (wake) ReaderWake_.notify_one();
}

void TRowQueue::PushUnreadable(TUnreadableFolder folder) {
  std::lock_guard lock(Mutex_);
  Unreadable_.push_back(std::move(folder));
}

void TRowQueue::End() {
  {
    std::lock_guard lock(Mutex_);
    Ended_ = true;
  }
  ReaderWake_.notify_all();
}

bool TRowQueue::Take(std::vector<TPassRow>& rows, std::vector<TUnreadableFolder>& unreadable) {
  bool ended = false;
  bool workerWaits = false;
  {
    std::lock_guard lock(Mutex_);
    if (rows.empty())
      rows.swap(Rows_);  // the reader's spent room comes back to the worker
    else
      rows.insert(rows.end(), std::make_move_iterator(Rows_.begin()), std::make_move_iterator(Rows_.end()));
    Rows_.clear();
    unreadable.insert(unreadable.end(), std::make_move_iterator(Unreadable_.begin()),
                      std::make_move_iterator(Unreadable_.end()));
    Unreadable_.clear();
    ended = Ended_;
    workerWaits = WorkerWaiting_;
  }
  if (workerWaits) WorkerWake_.notify_one();
  return ended;
}

void TRowQueue::WaitForRows(std::chrono::milliseconds timeout) {
  std::unique_lock lock(Mutex_);
  ReaderWaiting_ = true;
  ReaderWake_.wait_for(lock, timeout, [&] { return Ended_ || Rows_.size() >= kWakeBatch; });
  ReaderWaiting_ = false;
}

void TRowQueue::Unbind() {
  {
    std::lock_guard lock(Mutex_);
    Bound_ = kUnbounded;
  }
  WorkerWake_.notify_all();
}

}  // namespace vt
