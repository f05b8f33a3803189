#pragma once
// The window thread of a Qt program as the passes see it: Synchronize from a
// worker posts the call to the thread that owns the dispatcher and waits until
// it has run there; on that thread the call runs at once. Modal loops (message
// boxes, dialogs) run the posted calls too, as the window's own loop does.
//
// A pass makes one call per row. Going through Qt's loop, and so painting, for
// each one would make a pass of a million files take minutes; so once woken,
// the window thread answers calls for a time slice, waiting awake a moment for
// the next one, and only then goes back to its loop: a few paints per second
// of rows, and no event waits longer than a slice.
//
// A self-freeing pass hands its thread over as its very last step; the
// dispatcher joins it on the window thread and counts it, so the window can wait
// until nothing of a pass is left running. After Shutdown no call reaches the
// window any more: Synchronize returns without running it. The destructor shuts
// down and then waits for every thread that started, so no worker outlives it.
#include <QObject>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/Thread.h"

namespace vt {

class TQtDispatcher final : public QObject, public IDispatcher {
  Q_OBJECT
 public:
  explicit TQtDispatcher(QObject* parent = nullptr);
  ~TQtDispatcher() override;

  void Synchronize(const std::function<void()>& call) override;
  void Started() override;
  void Released(std::thread worker) override;
  std::size_t ReleasedCount() const override { return ReleasedCount_.load(); }

  // Runs the workers' calls and joins released workers without going through Qt's
  // event loop, so that no user input is handled while the window waits; onTick
  // may let Qt paint.
  using IDispatcher::RunUntil;
  void RunUntil(const std::function<bool()>& done, std::chrono::milliseconds tick,
                const std::function<void()>& onTick) override;

  // Calls posted by workers and not yet run.
  std::size_t PendingCount();
  // Drops the calls still waiting (their workers go on) and every later one.
  void Shutdown();
  bool IsShutDown() const { return ShutDown_.load(); }

 private:
  struct Pending {
    const std::function<void()>* Call;
    std::atomic<bool> Done{false};
  };
  void RunPending();
  void PostRunPending();
  void JoinReleased();
  bool HasWork() const { return !Queue_.empty() || !Released_.empty(); }

  // The calls and the workers change hands under this mutex only; Qt's queue
  // merely wakes the window thread.
  std::mutex Mutex_;
  std::condition_variable Wake_;        // a call has run, or the dispatcher shut down
  std::condition_variable WindowWake_;  // work for the window thread
  std::deque<Pending*> Queue_;
  std::atomic<std::size_t> Queued_{0};  // Queue_.size(), readable without the lock
  bool Draining_ = false;  // the window thread is answering calls: no need to post
  bool Posted_ = false;    // a RunPending is on its way through Qt's queue
  std::vector<std::thread> Released_;
  std::size_t Started_ = 0;  // under Mutex_
  std::atomic<bool> ShutDown_{false};
  std::atomic<std::size_t> ReleasedCount_{0};
};

}  // namespace vt
