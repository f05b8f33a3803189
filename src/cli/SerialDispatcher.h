#pragma once
// The command line's window thread. The command line has no widgets, so a
// synchronised call need not travel to the main thread: it runs on the calling
// worker, under a lock that the main thread also takes whenever it looks at the
// window's state (the stop request, the end of the pass). The calls stay
// strictly serialised with each other and with the main thread, as on a window
// thread, but a row costs one uncontended lock instead of two thread switches;
// that is what keeps a pass through the command line close to a bare rename loop.
// The end handler runs this way too, on the worker; the main thread waits in
// RunUntil until the worker has released its pass, so the end handler has
// always run before the program goes on.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/Thread.h"

namespace vt {

class TSerialDispatcher final : public IDispatcher {
 public:
  TSerialDispatcher() = default;
  // Waits until every thread that started has been released, and joins it.
  ~TSerialDispatcher() override;
  TSerialDispatcher(const TSerialDispatcher&) = delete;
  TSerialDispatcher& operator=(const TSerialDispatcher&) = delete;

  void Synchronize(const std::function<void()>& call) override;
  void Started() override;
  void Released(std::thread worker) override;

  // The lock of the window's state, for the main thread. Recursive: an end
  // handler makes synchronised calls of its own.
  std::recursive_mutex& WindowLock() { return WindowLock_; }

  // On the main thread: joins released workers until done() holds, calling onTick
  // about every tick meanwhile (progress, Ctrl-C). The calls need no help: they
  // run on the workers.
  using IDispatcher::RunUntil;
  void RunUntil(const std::function<bool()>& done, std::chrono::milliseconds tick,
                const std::function<void()>& onTick) override;
  std::size_t ReleasedCount() const override;

 private:
  void JoinFinished(std::unique_lock<std::mutex>& lock);

  std::recursive_mutex WindowLock_;
  mutable std::mutex ReleaseLock_;
  std::condition_variable ReleaseWake_;
  std::vector<std::thread> Finished_;
  std::size_t Started_ = 0;  // under ReleaseLock_
  std::size_t ReleasedCount_ = 0;
};

}  // namespace vt
