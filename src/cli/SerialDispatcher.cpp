#include "cli/SerialDispatcher.h"

#include <utility>

namespace vt {

TSerialDispatcher::~TSerialDispatcher() {
  std::unique_lock lock(ReleaseLock_);
  JoinFinished(lock);
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

void TSerialDispatcher::WaitUntilReleased(std::size_t count, std::chrono::milliseconds tick,
                                          const std::function<void()>& onTick) {
  std::unique_lock lock(ReleaseLock_);
  for (;;) {
    JoinFinished(lock);
    if (ReleasedCount_ >= count) return;
    if (!ReleaseWake_.wait_for(lock, tick, [&] { return !Finished_.empty(); })) {
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
