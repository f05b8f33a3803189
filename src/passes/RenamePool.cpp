#include "passes/RenamePool.h"

#include <algorithm>

#include "platform/Utf8Char.h"

namespace vt {
namespace {

bool SameNameIgnoringAsciiCase(std::string_view one, std::string_view other) {
  return std::ranges::equal(one, other, [](char a, char b) { return AsciiUpperChar(a) == AsciiUpperChar(b); });
}

}  // namespace

bool RenamesTouchOneName(const TPoolRename& one, const TPoolRename& other) {
  if (!(one.Folder == other.Folder)) return false;
  return SameNameIgnoringAsciiCase(one.OldName, other.OldName) ||
         SameNameIgnoringAsciiCase(one.OldName, other.NewName) ||
         SameNameIgnoringAsciiCase(one.NewName, other.OldName) || SameNameIgnoringAsciiCase(one.NewName, other.NewName);
}

TRenamePool::TRenamePool(std::size_t workers) {
  Threads_.reserve(workers);
  for (std::size_t worker = 0; worker < workers; ++worker) Threads_.emplace_back([this, worker] { Work(worker); });
}

TRenamePool::~TRenamePool() {
  {
    const std::lock_guard lock(Lock_);
    Quit_ = true;
  }
  Wake_.notify_all();
  for (std::thread& thread : Threads_) thread.join();
}

std::size_t TRenamePool::Run(std::span<const TPoolRename> jobs, const TAttempt& attempt, const TStopped& stopped) {
  std::unique_lock lock(Lock_);
  Jobs_ = jobs;
  Attempt_ = &attempt;
  Stopped_ = &stopped;
  Next_ = 0;
  Ended_ = false;
  Working_ = Threads_.size();
  ++Block_;
  Wake_.notify_all();
  Done_.wait(lock, [this] { return Working_ == 0; });
  Attempt_ = nullptr;
  Stopped_ = nullptr;
  return Next_;
}

bool TRenamePool::WaitsForOneInFlight(const TPoolRename& job) const {
  return std::ranges::any_of(InFlight_, [&](std::size_t other) { return RenamesTouchOneName(job, Jobs_[other]); });
}

void TRenamePool::Work(std::size_t worker) {
  std::uint64_t seen = 0;
  std::unique_lock lock(Lock_);
  for (;;) {
    Wake_.wait(lock, [&] { return Quit_ || Block_ != seen; });
    if (Quit_) return;
    seen = Block_;
    for (;;) {
      // The next rename waits while one in flight touches its names, and so
      // does every rename after it: they start in the block's order.
      Wake_.wait(lock, [&] { return Ended_ || Next_ >= Jobs_.size() || !WaitsForOneInFlight(Jobs_[Next_]); });
      if (Ended_ || Next_ >= Jobs_.size()) break;
      if ((*Stopped_)()) {
        Ended_ = true;
        Wake_.notify_all();
        break;
      }
      const std::size_t job = Next_++;
      InFlight_.push_back(job);
      lock.unlock();
      (*Attempt_)(worker, job);
      lock.lock();
      std::erase(InFlight_, job);
      Wake_.notify_all();
    }
    if (--Working_ == 0) Done_.notify_one();
  }
}

}  // namespace vt
