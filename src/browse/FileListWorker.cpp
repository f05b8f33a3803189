#include "browse/FileListWorker.h"

#include <optional>
#include <utility>

namespace vt {

TFileListWorker::TFileListWorker(TFileListSink sink)
    : Sink_(std::move(sink)), Thread_([this](const std::stop_token& stop) { Run(stop); }) {}

TFileListWorker::~TFileListWorker() {
  Thread_.request_stop();
  if (Thread_.joinable()) Thread_.join();
}

void TFileListWorker::Start(std::uint64_t generation, TFileListRequest request) {
  // Told first, so that a listing under way stops even before the job is queued.
  Latest_.store(generation, std::memory_order_relaxed);
  {
    const std::lock_guard lock(Mutex_);
    Jobs_.push_back({generation, std::move(request)});
  }
  Wake_.notify_one();
}

void TFileListWorker::Discard(std::vector<std::string> names) {
  if (names.empty()) return;
  {
    const std::lock_guard lock(Mutex_);
    Discarded_.push_back(std::move(names));
  }
  Wake_.notify_one();
}

bool TFileListWorker::Superseded(std::uint64_t generation, const std::stop_token& stop) const {
  return stop.stop_requested() || Latest_.load(std::memory_order_relaxed) != generation;
}

std::optional<TFinishedFill> TFileListWorker::TakeDone() {
  const std::lock_guard lock(Mutex_);
  std::optional<TFinishedFill> finished;
  finished.swap(Finished_);
  return finished;
}

void TFileListWorker::Run(const std::stop_token& stop) {
  for (;;) {
    TJob job;
    std::vector<std::vector<std::string>> discarded;
    {
      std::unique_lock lock(Mutex_);
      if (!Wake_.wait(lock, stop, [this] { return !Jobs_.empty() || !Discarded_.empty(); })) return;
      discarded.swap(Discarded_);
      if (Jobs_.empty()) continue;  // the names freed as the loop goes round
      job = std::move(Jobs_.front());
      Jobs_.pop_front();
    }
    discarded.clear();
    if (Superseded(job.Generation, stop)) continue;
    const TListingStop superseded = [&] { return Superseded(job.Generation, stop); };
    const std::function<void()> onLong = [&] { Sink_.Long(job.Generation); };
    std::optional<std::vector<std::string>> names = ListFiles(job.Request, superseded, onLong);
    if (!names || Superseded(job.Generation, stop)) continue;
    std::optional<TFinishedFill> older;
    {
      const std::lock_guard lock(Mutex_);
      older.swap(Finished_);
      Finished_ = TFinishedFill{job.Generation, std::move(*names)};
    }
    older.reset();  // a fill the window never took: freed here, not under the lock
    Sink_.Done();
  }
}

}  // namespace vt
