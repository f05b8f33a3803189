#pragma once
// The rows of a running pass on their way to the front end that owns it. The
// worker pushes and never waits for the front end to look; the front end takes
// everything pushed so far, in pass order, whenever it likes (the window on a
// timer, the command line when woken). A bound, when set, makes the worker wait
// for a reader that has fallen far behind, as a pipe would; a stop lifts it.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "passes/PassRow.h"

namespace vt {

// A folder of the walk that could not be read, with the errno.
struct TUnreadableFolder {
  std::string Folder;
  int Error = 0;
};

class TRowQueue {
 public:
  static constexpr std::size_t kUnbounded = 0;
  // Rows after which a waiting reader is woken.
  static constexpr std::size_t kWakeBatch = 512;

  explicit TRowQueue(std::size_t bound = kUnbounded) : Bound_(bound) {}
  TRowQueue(const TRowQueue&) = delete;
  TRowQueue& operator=(const TRowQueue&) = delete;

  // Worker side.
  void Push(TPassRow row);
  // The rows in their order under one lock, as one push: a bound lets them in
  // once there is room for one row, so the queue may pass it by less than a
  // batch. rows is left empty, with room for the next batch.
  void PushAll(std::vector<TPassRow>& rows);
  void PushUnreadable(TUnreadableFolder folder);
  // The last push: the pass has nothing more to say.
  void End();

  // Reader side. Appends what was pushed since the last take; true once the pass
  // has ended and nothing is left.
  bool Take(std::vector<TPassRow>& rows, std::vector<TUnreadableFolder>& unreadable);
  // Waits until a batch of rows is ready, the pass has ended, or the timeout.
  void WaitForRows(std::chrono::milliseconds timeout);
  // A waiting worker goes on; later pushes never wait.
  void Unbind();

 private:
  std::mutex Mutex_;
  std::condition_variable ReaderWake_;
  std::condition_variable WorkerWake_;
  // Waits, with the lock held, until the bound lets a push in.
  void WaitForRoom(std::unique_lock<std::mutex>& lock);
  // Once rows are in: lets the lock go and wakes the reader if it waits for them.
  void Added(std::unique_lock<std::mutex>& lock);
  // After a push, the lock held: whether the waiting reader is to be woken.
  bool ReaderToWake() const { return ReaderWaiting_ && Rows_.size() >= kWakeBatch; }

  std::vector<TPassRow> Rows_;
  std::vector<TUnreadableFolder> Unreadable_;
  std::size_t Bound_;
  bool Ended_ = false;
  bool ReaderWaiting_ = false;
  bool WorkerWaiting_ = false;
};

}  // namespace vt
