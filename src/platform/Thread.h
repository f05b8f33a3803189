#pragma once
// Worker threads in the manner the passes expect: created suspended, resumed as
// the last step of construction, an end handler run on the window thread after
// the body, then the object frees itself. Synchronize runs a call on the window
// thread while the worker waits.
//
// Waiting for a released pass: a self-freeing thread tells its dispatcher when it
// starts, and once its object has been deleted hands its std::thread to
// IDispatcher::Released. The dispatcher joins it on the window thread inside
// RunUntil and then counts it in ReleasedCount(), so
// `RunUntil([&] { return d.ReleasedCount() == n; })` returns only when nothing of
// the pass is left running. A dispatcher outlives the threads that use it: its
// destructor waits until every thread that started has been released.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vt {

// The window thread, as seen from a worker and from the window thread itself.
class IDispatcher {
 public:
  virtual ~IDispatcher() = default;
  // Runs call on the window thread and returns when it has run; runs it at once
  // when the caller is the window thread.
  virtual void Synchronize(const std::function<void()>& call) = 0;
  // Called on the window thread when a self-freeing thread is about to start.
  virtual void Started() = 0;
  // Called on a worker after its self-freeing object was deleted; the last thing
  // the worker does.
  virtual void Released(std::thread worker) = 0;
  // Self-freeing threads released and joined so far.
  virtual std::size_t ReleasedCount() const = 0;

  // On the window thread: answers the workers' calls and joins released workers
  // until done() holds, calling onTick about every tick meanwhile. done() is
  // called without any lock of the dispatcher held.
  virtual void RunUntil(const std::function<bool()>& done, std::chrono::milliseconds tick,
                        const std::function<void()>& onTick) = 0;
  void RunUntil(const std::function<bool()>& done) {
    RunUntil(done, std::chrono::milliseconds::max(), {});
  }
};

// A plain window thread: the thread that creates it drains its queue.
// Serves the command line and the tests.
class TQueueDispatcher final : public IDispatcher {
 public:
  TQueueDispatcher();
  // Runs calls until every thread that started has been released, and joins it.
  ~TQueueDispatcher() override;
  TQueueDispatcher(const TQueueDispatcher&) = delete;
  TQueueDispatcher& operator=(const TQueueDispatcher&) = delete;

  void Synchronize(const std::function<void()>& call) override;
  void Started() override { Started_.fetch_add(1, std::memory_order_relaxed); }
  void Released(std::thread worker) override;

  // Runs queued calls on the calling (window) thread, and joins released workers,
  // until done() holds after one of them, or at once if it holds already.
  // done() is looked at again only after a call or a release (or a tick): a
  // condition that something else changes is seen late. onTick: progress output,
  // polling for an interrupt.
  using IDispatcher::RunUntil;
  void RunUntil(const std::function<bool()>& done, std::chrono::milliseconds tick,
                const std::function<void()>& onTick) override;

  // Workers released and joined so far (by RunUntil).
  std::size_t ReleasedCount() const override { return ReleasedCount_.load(std::memory_order_acquire); }

 private:
  struct Pending {
    const std::function<void()>* Call;
    std::atomic<bool> Done{false};
  };
  bool HasWork() const { return !Queue_.empty() || !Finished_.empty(); }
  void JoinFinished(std::unique_lock<std::mutex>& lock);
  void RunOne(std::unique_lock<std::mutex>& lock);

  std::thread::id Owner_;
  std::mutex Mutex_;
  std::condition_variable MainWake_;    // work for the window thread
  std::condition_variable WorkerWake_;  // a call has run
  std::deque<Pending*> Queue_;
  std::vector<std::thread> Finished_;
  std::atomic<std::size_t> Work_{0};  // queued calls and released workers, readable without the lock
  std::atomic<std::size_t> Started_{0};
  std::atomic<std::size_t> ReleasedCount_{0};
};

class TThread {
 public:
  virtual ~TThread();
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  // For a thread that does not free itself: waits until the body (and the end
  // handler) have run. Call it from the derived destructor, before the derived
  // part is gone.
  void WaitFor();

 protected:
  // Created suspended: the body runs only after Resume().
  explicit TThread(IDispatcher& dispatcher);
  // Starts the body. With FreeOnTerminate the object owns itself from now on:
  // construct it with new inside a static factory and do not delete it.
  void Resume();
  virtual void Execute() = 0;
  void Synchronize(const std::function<void()>& call) { Dispatcher_.Synchronize(call); }
  IDispatcher& Dispatcher() { return Dispatcher_; }

  // Run on the window thread after Execute has returned.
  std::function<void()> OnTerminate;
  bool FreeOnTerminate = true;

 private:
  void Run();
  IDispatcher& Dispatcher_;
  std::mutex Starting_;  // held while Resume stores the thread, so Run sees Thread_ set
  std::thread Thread_;
};

}  // namespace vt
