#include "results/PassRecordKeeper.h"

#include <utility>

namespace vt {

void TPassRecordKeeper::Keep(std::unique_ptr<TPassJournalWriter> journal, TPassStopped stopped, std::size_t kept) {
  Keep(std::move(journal), stopped, TRetention{kept, UINT64_MAX});
}

void TPassRecordKeeper::Keep(std::unique_ptr<TPassJournalWriter> journal, TPassStopped stopped,
                             const TRetention& keep) {
  if (!Idle()) Take();
  Journal_ = std::move(journal);
  Record_ = TPassRecord();
  {
    const std::lock_guard lock(Mutex_);
    Kept_ = false;
  }
  Worker_ = std::jthread([this, stopped, keep] { Run(stopped, keep); });
}

void TPassRecordKeeper::Run(TPassStopped stopped, TRetention keep) {
  Record_ = KeepPassRecord(*Journal_, stopped == TPassStopped::Yes, keep);
  // Its file is closed here, not on the owner's thread.
  Journal_.reset();
  {
    const std::lock_guard lock(Mutex_);
    Kept_ = true;
  }
  KeptWake_.notify_all();
}

bool TPassRecordKeeper::Kept() const {
  if (Idle()) return true;
  const std::lock_guard lock(Mutex_);
  return Kept_;
}

bool TPassRecordKeeper::WaitFor(std::chrono::milliseconds most) const {
  if (Idle()) return true;
  std::unique_lock lock(Mutex_);
  return KeptWake_.wait_for(lock, most, [this] { return Kept_; });
}

std::optional<TPassRecord> TPassRecordKeeper::Take() {
  if (Idle()) return std::nullopt;
  Worker_.join();
  return std::exchange(Record_, TPassRecord());
}

}  // namespace vt
