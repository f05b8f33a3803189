#pragma once
// The thread that reads the file list's folder, so that the window never waits
// for a big one. Fills are numbered: a newer one supersedes every older one,
// which is skipped when not yet begun and stopped when under way.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "browse/FileListing.h"

namespace vt {

// Called on the worker's thread: they wake the window, never touch a widget.
struct TFileListSink {
  std::function<void(std::uint64_t generation)> Long;  // the names found reached kLongFillFrom
  std::function<void()> Done;                          // a fill waits in TakeDone()
};

struct TFinishedFill {
  std::uint64_t Generation = 0;
  std::vector<std::string> Names;
};

class TFileListWorker {
 public:
  explicit TFileListWorker(TFileListSink sink);
  // Stops the fill under way and joins the thread: the sink is not called after.
  ~TFileListWorker();
  TFileListWorker(const TFileListWorker&) = delete;
  TFileListWorker& operator=(const TFileListWorker&) = delete;

  // generation is greater than that of every fill started before.
  void Start(std::uint64_t generation, TFileListRequest request);
  // Frees names on the worker's thread.
  void Discard(std::vector<std::string> names);
  // The newest finished fill, once. Handed over under the worker's own lock:
  // the window's event queue orders the wake-up, not the names' bytes.
  std::optional<TFinishedFill> TakeDone();

 private:
  struct TJob {
    std::uint64_t Generation = 0;
    TFileListRequest Request;
  };
  void Run(const std::stop_token& stop);
  bool Superseded(std::uint64_t generation, const std::stop_token& stop) const;

  const TFileListSink Sink_;
  std::mutex Mutex_;
  std::condition_variable_any Wake_;
  std::deque<TJob> Jobs_;
  std::vector<std::vector<std::string>> Discarded_;
  std::optional<TFinishedFill> Finished_;
  std::atomic<std::uint64_t> Latest_{0};
  // Last: started once everything it uses is there, joined before any of it goes.
  std::jthread Thread_;
};

}  // namespace vt
