#include "cli/SerialDispatcher.h"

#include <utility>

namespace vt {

TSerialDispatcher::~TSerialDispatcher() {
  std::unique_lock lock(ReleaseLock_);
  for (;;) {
    JoinFinished(lock);
    if (ReleasedCount_ >= Started_) return;
    ReleaseWake_.wait(lock, [&] { return !Finished_.empty(); });
  }
}

void TSerialDispatcher::Started() {
  std::lock_guard lock(ReleaseLock_);
  ++Started_;
}

void TSerialDispatcher::Synchronize(const std::function<void()>& call) {
  std::lock_guard lock(WindowLock_);
  call();
}

void TSerialDispatcher::Released(std::thread worker) {
  std::lock_guard lock(ReleaseLock_);
  Finished_.push_back(std::move(worker));
  ReleaseWake_.notify_all();
}

void TSerialDispatcher::JoinFinished(std::unique_lock<std::mutex>& lock) {
  std::vector<std::thread> finished;
  finished.swap(Finished_);
  lock.unlock();
  for (std::thread& worker : finished)
    if (worker.joinable()) worker.join();
  lock.lock();
  ReleasedCount_ += finished.size();
}

void TSerialDispatcher::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds tick,
                                 const std::function<void()>& onTick) {
  // Without a tick, look again now and then: done() may follow a call rather than a release.
  const bool ticking = tick != std::chrono::milliseconds::max();
  const std::chrono::milliseconds wait = ticking ? tick : std::chrono::milliseconds(10);
  std::unique_lock lock(ReleaseLock_);
  for (;;) {
    JoinFinished(lock);
    lock.unlock();
    if (done()) return;
    lock.lock();
    if (!ReleaseWake_.wait_for(lock, wait, [&] { return !Finished_.empty(); }) && ticking) {
      lock.unlock();
      if (onTick) onTick();
      lock.lock();
    }
  }
}

std::size_t TSerialDispatcher::ReleasedCount() const {
  std::lock_guard lock(ReleaseLock_);
  return ReleasedCount_;
}

}  // namespace vt
