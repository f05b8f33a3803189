#include "ui/QtDispatcher.h"

#include <QMetaObject>
#include <QThread>

namespace vt {

TQtDispatcher::TQtDispatcher(QObject* parent) : QObject(parent) {}

TQtDispatcher::~TQtDispatcher() {
  Shutdown();
  JoinReleased();
}

void TQtDispatcher::Synchronize(const std::function<void()>& call) {
  if (QThread::currentThread() == thread()) {
    call();
    return;
  }
  Pending pending{&call};
  {
    std::lock_guard lock(Mutex_);
    if (ShutDown_) return;
    Queue_.push_back(&pending);
  }
  QMetaObject::invokeMethod(this, &TQtDispatcher::RunPending, Qt::QueuedConnection);
  std::unique_lock lock(Mutex_);
  Wake_.wait(lock, [&] { return pending.Done; });
}

void TQtDispatcher::RunPending() {
  std::unique_lock lock(Mutex_);
  // A call may open a modal loop that runs the next ones; each is taken once.
  while (!Queue_.empty()) {
    Pending* pending = Queue_.front();
    Queue_.pop_front();
    lock.unlock();
    (*pending->Call)();
    lock.lock();
    pending->Done = true;
    Wake_.notify_all();
  }
}

void TQtDispatcher::Released(std::thread worker) {
  {
    std::lock_guard lock(Mutex_);
    Released_.push_back(std::move(worker));
  }
  QMetaObject::invokeMethod(this, &TQtDispatcher::JoinReleased, Qt::QueuedConnection);
}

void TQtDispatcher::JoinReleased() {
  std::vector<std::thread> workers;
  {
    std::lock_guard lock(Mutex_);
    workers.swap(Released_);
  }
  // A released worker has nothing left to do but return.
  for (std::thread& worker : workers) {
    if (worker.joinable()) worker.join();
    ++ReleasedCount_;
  }
}

std::size_t TQtDispatcher::PendingCount() {
  std::lock_guard lock(Mutex_);
  return Queue_.size();
}

void TQtDispatcher::Shutdown() {
  std::lock_guard lock(Mutex_);
  ShutDown_ = true;
  for (Pending* pending : Queue_) pending->Done = true;
  Queue_.clear();
  Wake_.notify_all();
}

}  // namespace vt
