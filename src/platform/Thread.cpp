#include "platform/Thread.h"

#include <utility>

#include "platform/AwakeWait.h"

namespace vt {

TQueueDispatcher::TQueueDispatcher() : Owner_(std::this_thread::get_id()) {}

TQueueDispatcher::~TQueueDispatcher() {
  // A thread still running would call into a dispatcher that is gone.
  RunUntil([this] { return ReleasedCount() >= Started_.load(std::memory_order_relaxed); });
  std::unique_lock lock(Mutex_);
  JoinFinished(lock);
}

void TQueueDispatcher::Synchronize(const std::function<void()>& call) {
  if (std::this_thread::get_id() == Owner_) {
    call();
    return;
  }
  Pending pending{&call};
  {
    std::lock_guard lock(Mutex_);
    Queue_.push_back(&pending);
    Work_.fetch_add(1, std::memory_order_release);
  }
  MainWake_.notify_one();
  const auto done = [&] { return pending.Done.load(std::memory_order_acquire); };
  if (AwaitAwake(done)) return;
  std::unique_lock lock(Mutex_);
  WorkerWake_.wait(lock, done);
}

void TQueueDispatcher::Released(std::thread worker) {
  {
    std::lock_guard lock(Mutex_);
    Finished_.push_back(std::move(worker));
    Work_.fetch_add(1, std::memory_order_release);
  }
  MainWake_.notify_one();
}

void TQueueDispatcher::JoinFinished(std::unique_lock<std::mutex>& lock) {
  std::vector<std::thread> finished;
  finished.swap(Finished_);
  Work_.fetch_sub(finished.size(), std::memory_order_relaxed);
  lock.unlock();
  for (std::thread& worker : finished) {
    if (worker.joinable()) worker.join();
    ReleasedCount_.fetch_add(1, std::memory_order_release);
  }
  lock.lock();
}

void TQueueDispatcher::RunOne(std::unique_lock<std::mutex>& lock) {
  Pending* pending = Queue_.front();
  Queue_.pop_front();
  Work_.fetch_sub(1, std::memory_order_relaxed);
  lock.unlock();
  (*pending->Call)();
  // The worker may leave (and its Pending go) as soon as Done is seen.
  pending->Done.store(true, std::memory_order_release);
  // Taking the lock once orders the store before a worker that is about to sleep.
  lock.lock();
  lock.unlock();
  WorkerWake_.notify_all();
}

void TQueueDispatcher::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds tick,
                                const std::function<void()>& onTick) {
  using Clock = std::chrono::steady_clock;
  const bool ticking = tick != std::chrono::milliseconds::max();
  // A deadline rather than a wait per call: a worker that synchronises all the time must
  // not starve the ticks.
  Clock::time_point nextTick = ticking ? Clock::now() + tick : Clock::time_point::max();
  while (!done()) {
    AwaitAwake([&] { return Work_.load(std::memory_order_acquire) != 0; });
    std::unique_lock lock(Mutex_);
    const bool woken = ticking ? MainWake_.wait_until(lock, nextTick, [&] { return HasWork(); })
                               : (MainWake_.wait(lock, [&] { return HasWork(); }), true);
    if (ticking && Clock::now() >= nextTick) {
      lock.unlock();
      if (onTick) onTick();
      nextTick = Clock::now() + tick;
      continue;
    }
    if (!woken) continue;
    if (!Finished_.empty()) {
      JoinFinished(lock);
      continue;
    }
    RunOne(lock);
  }
}

TThread::TThread(IDispatcher& dispatcher) : Dispatcher_(dispatcher) {}

TThread::~TThread() {
  if (Thread_.joinable()) {
    if (Thread_.get_id() == std::this_thread::get_id())
      Thread_.detach();  // only reached when a body deletes its own non-self-freeing object
    else
      Thread_.join();
  }
}

void TThread::WaitFor() {
  if (Thread_.joinable() && Thread_.get_id() != std::this_thread::get_id()) Thread_.join();
}

void TThread::Resume() {
  if (FreeOnTerminate) Dispatcher_.Started();
  std::lock_guard lock(Starting_);
  Thread_ = std::thread([this] { Run(); });
}

void TThread::Run() {
  { std::lock_guard lock(Starting_); }
  Execute();
  if (OnTerminate) Dispatcher_.Synchronize(OnTerminate);
  if (!FreeOnTerminate) return;
  // Nothing of the object may be touched after the delete: take what the hand-over needs first.
  IDispatcher& dispatcher = Dispatcher_;
  std::thread self = std::move(Thread_);
  delete this;
  dispatcher.Released(std::move(self));
}

}  // namespace vt
