#pragma once
// Worker threads in the manner the passes expect: created suspended, resumed as
// the last step of construction, an end handler run on the window thread after
// the body, then the object frees itself. Synchronize runs a call on the window
// thread while the worker waits.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace vt {

// The window thread, as seen from a worker.
class IDispatcher {
 public:
  virtual ~IDispatcher() = default;
  // Runs call on the window thread and returns when it has run; runs it at once
  // when the caller is the window thread.
  virtual void Synchronize(const std::function<void()>& call) = 0;
};

// A plain window thread: the thread that creates it drains its queue.
// Serves the command line and the tests.
class TQueueDispatcher final : public IDispatcher {
 public:
  TQueueDispatcher();
  void Synchronize(const std::function<void()>& call) override;
  // Runs queued calls on the calling (window) thread until done() holds after a call,
  // or at once if it holds already.
  void RunUntil(const std::function<bool()>& done);
  // The same, and calls onTick on the calling thread about every tick while waiting
  // (progress output, polling for an interrupt).
  void RunUntil(const std::function<bool()>& done, std::chrono::milliseconds tick,
                const std::function<void()>& onTick);

 private:
  struct Pending {
    const std::function<void()>* Call;
    bool Done = false;
  };
  std::thread::id Owner_;
  std::mutex Mutex_;
  std::condition_variable Wake_;
  std::deque<Pending*> Queue_;
};

class TThread {
 public:
  virtual ~TThread();
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

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
  std::thread Thread_;
};

}  // namespace vt
