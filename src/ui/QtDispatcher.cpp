#include "ui/QtDispatcher.h"

#include <QMetaObject>
#include <QThread>

namespace vt {

TQtDispatcher::TQtDispatcher(QObject* parent) : QObject(parent) {}

TQtDispatcher::~TQtDispatcher() {
  Shutdown();
  // After the shutdown no worker waits for the window: each one runs to its end
  // and hands its thread over.
  std::unique_lock lock(Mutex_);
  for (;;) {
    WindowWake_.wait(lock, [&] { return !Released_.empty() || ReleasedCount_ >= Started_; });
    if (Released_.empty()) break;
    lock.unlock();
    JoinReleased();
    lock.lock();
  }
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
  WindowWake_.notify_one();
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

void TQtDispatcher::Started() {
  std::lock_guard lock(Mutex_);
  ++Started_;
}

void TQtDispatcher::Released(std::thread worker) {
  {
    std::lock_guard lock(Mutex_);
    Released_.push_back(std::move(worker));
  }
  WindowWake_.notify_one();
  // Nothing of the worker's object is left; only this dispatcher is touched here.
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
    std::lock_guard lock(Mutex_);
    ++ReleasedCount_;
  }
  if (!workers.empty()) WindowWake_.notify_all();
}

void TQtDispatcher::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds tick,
                             const std::function<void()>& onTick) {
  using Clock = std::chrono::steady_clock;
  const bool ticking = tick != std::chrono::milliseconds::max();
  Clock::time_point nextTick = ticking ? Clock::now() + tick : Clock::time_point::max();
  while (!done()) {
    {
      std::unique_lock lock(Mutex_);
      if (ticking)
        WindowWake_.wait_until(lock, nextTick, [&] { return HasWork(); });
      else
        WindowWake_.wait(lock, [&] { return HasWork(); });
    }
    RunPending();
    JoinReleased();
    if (ticking && Clock::now() >= nextTick) {
      if (onTick) onTick();
      nextTick = Clock::now() + tick;
    }
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
