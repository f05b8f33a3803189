#pragma once
// The window thread of a Qt program as the passes see it: Synchronize from a
// worker posts the call to the thread that owns the dispatcher and waits until
// it has run there; on that thread the call runs at once. Modal loops (message
// boxes, dialogs) run the posted calls too, as the window's own loop does.
//
// A self-freeing pass hands its thread over as its very last step; the
// dispatcher joins it on the window thread and counts it, so the window can wait
// until nothing of a pass is left running. After Shutdown no call reaches the
// window any more: Synchronize returns without running it.
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
  // Joins the workers released and not yet joined.
  ~TQtDispatcher() override;

  void Synchronize(const std::function<void()>& call) override;
  void Released(std::thread worker) override;

  // Calls posted by workers and not yet run.
  std::size_t PendingCount();
  // Workers released and joined so far.
  std::size_t ReleasedCount() const { return ReleasedCount_.load(); }
  // Drops the calls still waiting (their workers go on) and every later one.
  void Shutdown();
  bool IsShutDown() const { return ShutDown_.load(); }

 private:
  struct Pending {
    const std::function<void()>* Call;
    bool Done = false;
  };
  void RunPending();
  void JoinReleased();

  // The calls and the workers change hands under this mutex only; Qt's queue
  // merely wakes the window thread.
  std::mutex Mutex_;
  std::condition_variable Wake_;
  std::deque<Pending*> Queue_;
  std::vector<std::thread> Released_;
  std::atomic<bool> ShutDown_{false};
  std::atomic<std::size_t> ReleasedCount_{0};
};

}  // namespace vt
