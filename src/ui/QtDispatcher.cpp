#include "ui/QtDispatcher.h"

#include <QMetaObject>
#include <QThread>

#include "platform/AwakeWait.h"

namespace vt {
namespace {

// Calls are answered for this long before the window's loop gets its turn.
constexpr std::chrono::milliseconds kSlice{12};
// How long the window thread waits awake for a worker's next call: a rename on
// disk takes longer than the hand-over itself, and going back to the loop
// between two rows costs a paint.
constexpr std::chrono::microseconds kNextCallWait{400};

}  // namespace

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
  bool post = false;
  {
    std::lock_guard lock(Mutex_);
    if (ShutDown_) return;
    Queue_.push_back(&pending);
    Queued_.fetch_add(1, std::memory_order_release);
    post = !Draining_ && !Posted_;
    if (post) Posted_ = true;
  }
  WindowWake_.notify_one();
  if (post) PostRunPending();
  const auto done = [&] { return pending.Done.load(std::memory_order_acquire); };
  if (AwaitAwake(done)) return;
  std::unique_lock lock(Mutex_);
  Wake_.wait(lock, done);
}

void TQtDispatcher::PostRunPending() {
  QMetaObject::invokeMethod(this, &TQtDispatcher::RunPending, Qt::QueuedConnection);
}

void TQtDispatcher::RunPending() {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point sliceEnd = Clock::now() + kSlice;
  std::unique_lock lock(Mutex_);
  if (Draining_) return;  // a call opened a modal loop: the outer round goes on afterwards
  Posted_ = false;
  Draining_ = true;
  for (;;) {
    // A call may open a modal loop that runs the next ones; each is taken once.
    while (!Queue_.empty() && Clock::now() < sliceEnd) {
      Pending* pending = Queue_.front();
      Queue_.pop_front();
      Queued_.fetch_sub(1, std::memory_order_relaxed);
      lock.unlock();
      (*pending->Call)();
      // The worker may leave (and its Pending go) as soon as Done is seen.
      lock.lock();
      pending->Done.store(true, std::memory_order_release);
      Wake_.notify_all();
    }
    if (Clock::now() >= sliceEnd) break;
    // The worker needs a moment to make its next call.
    lock.unlock();
    const bool more = AwaitAwake([this] { return Queued_.load(std::memory_order_acquire) != 0; }, kNextCallWait);
    lock.lock();
    if (!more) break;
  }
  Draining_ = false;
  const bool post = !Queue_.empty() && !Posted_;
  if (post) Posted_ = true;
  lock.unlock();
  if (post) PostRunPending();
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
  for (Pending* pending : Queue_) pending->Done.store(true, std::memory_order_release);
  Queue_.clear();
  Queued_.store(0, std::memory_order_relaxed);
  Wake_.notify_all();
}

}  // namespace vt
