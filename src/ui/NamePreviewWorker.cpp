#include "ui/NamePreviewWorker.h"

#include <utility>

namespace vt {

TNamePreviewWorker::TNamePreviewWorker(TPreviewDone done)
    : Done_(std::move(done)), Thread_([this](const std::stop_token& stop) { Run(stop); }) {}

TNamePreviewWorker::~TNamePreviewWorker() {
  Thread_.request_stop();
  if (Thread_.joinable()) Thread_.join();
}

void TNamePreviewWorker::Start(std::uint64_t generation, TPreviewJob job) {
  // Told first, so that a job under way stops even before this one is queued.
  Latest_.store(generation, std::memory_order_relaxed);
  {
    const std::lock_guard lock(Mutex_);
    Job_ = std::move(job);
    JobGeneration_ = generation;
  }
  Wake_.notify_one();
}

std::optional<TFinishedPreview> TNamePreviewWorker::TakeDone() {
  const std::lock_guard lock(Mutex_);
  std::optional<TFinishedPreview> finished;
  finished.swap(Finished_);
  return finished;
}

void TNamePreviewWorker::Run(const std::stop_token& stop) {
  for (;;) {
    std::optional<TPreviewJob> job;
    std::uint64_t generation = 0;
    {
      std::unique_lock lock(Mutex_);
      if (!Wake_.wait(lock, stop, [this] { return Job_.has_value(); })) return;
      job.swap(Job_);
      generation = JobGeneration_;
    }
    const auto superseded = [&] {
      return stop.stop_requested() || Latest_.load(std::memory_order_relaxed) != generation;
    };
    if (superseded()) continue;
    std::optional<TFilePreview> preview = PreviewWhole(*job, superseded, Listing_);
    // The names go here, not on the window thread, when the list has moved on.
    job.reset();
    if (!preview || superseded()) continue;
    {
      const std::lock_guard lock(Mutex_);
      Finished_ = TFinishedPreview{generation, std::make_shared<const TFilePreview>(std::move(*preview))};
    }
    Done_();
  }
}

}  // namespace vt
