#pragma once
// The thread that computes the file list's whole preview, so that the window
// never waits for it. Only the newest job counts: one not yet begun is dropped
// when a newer comes, and one under way is stopped.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

#include "ui/NamePreview.h"

namespace vt {

// Called on the worker's thread when a preview waits in TakeDone(): it wakes the
// window, never touches a widget.
using TPreviewDone = std::function<void()>;

struct TFinishedPreview {
  std::uint64_t Generation = 0;
  std::shared_ptr<const TFilePreview> Preview;
};

class TNamePreviewWorker {
 public:
  explicit TNamePreviewWorker(TPreviewDone done);
  // Stops the job under way and joins: done is not called after.
  ~TNamePreviewWorker();
  TNamePreviewWorker(const TNamePreviewWorker&) = delete;
  TNamePreviewWorker& operator=(const TNamePreviewWorker&) = delete;

  // generation is greater than that of every job started before.
  void Start(std::uint64_t generation, TPreviewJob job);
  // Drops every job started so far.
  void Drop(std::uint64_t generation) { Latest_.store(generation, std::memory_order_relaxed); }
  // The newest finished preview, once. Handed over under the worker's own lock:
  // the window's event queue orders the wake-up, not the preview's bytes.
  std::optional<TFinishedPreview> TakeDone();

 private:
  void Run(const std::stop_token& stop);

  const TPreviewDone Done_;
  std::mutex Mutex_;
  std::condition_variable_any Wake_;
  std::optional<TPreviewJob> Job_;
  std::uint64_t JobGeneration_ = 0;
  std::optional<TFinishedPreview> Finished_;
  TPreviewListing Listing_;  // the worker's alone
  std::atomic<std::uint64_t> Latest_{0};
  // Last: started once everything it uses is there, joined before any of it goes.
  std::jthread Thread_;
};

}  // namespace vt
