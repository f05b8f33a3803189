#pragma once
// Worker threads in the manner the passes expect: created suspended, resumed as
// the last step of construction, an end handler run on the window thread after
// the body, then the object frees itself. Synchronize runs a call on the window
// thread while the worker waits.
//
// Waiting for a released pass: a self-freeing thread, once its object has been
// deleted, hands its std::thread to IDispatcher::Released. TQueueDispatcher joins
// it on the window thread inside RunUntil and then counts it in ReleasedCount(),
// so `RunUntil([&] { return d.ReleasedCount() == n; })` returns only when nothing
// of the pass is left running.
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

// The window thread, as seen from a worker.
class IDispatcher {
 public:
  virtual ~IDispatcher() = default;
  // Runs call on the window thread and returns when it has run; runs it at once
  // when the caller is the window thread.
  virtual void Synchronize(const std::function<void()>& call) = 0;
  // Called on a worker after its self-freeing object was deleted; the last thing
  // the worker does. The default lets the thread end on its own.
  virtual void Released(std::thread worker) { worker.detach(); }
};

// A plain window thread: the thread that creates it drains its queue.
// Serves the command line and the tests.
class TQueueDispatcher final : public IDispatcher {
 public:
  TQueueDispatcher();
  // Joins the workers released but not yet collected by RunUntil.
  ~TQueueDispatcher() override;
  TQueueDispatcher(const TQueueDispatcher&) = delete;
  TQueueDispatcher& operator=(const TQueueDispatcher&) = delete;

  void Synchronize(const std::function<void()>& call) override;
  void Released(std::thread worker) override;

  // Runs queued calls on the calling (window) thread, and joins released workers,
  // until done() holds after one of them, or at once if it holds already.
  // done() is called without any lock of the dispatcher held, and is looked at again
  // only after a call or a release (or a tick): a condition that something else
  // changes is seen late.
  void RunUntil(const std::function<bool()>& done);
  // The same, and calls onTick on the calling thread about every tick while waiting
  // (progress output, polling for an interrupt).
  void RunUntil(const std::function<bool()>& done, std::chrono::milliseconds tick,
                const std::function<void()>& onTick);

  // Workers released and joined so far (by RunUntil).
  std::size_t ReleasedCount() const { return ReleasedCount_.load(std::memory_order_acquire); }

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
