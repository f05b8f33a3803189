#pragma once
// The record of a rename pass kept on a worker of its own: ending the journal
// (its last write, and a sync where the pass asked for one) and pruning the
// folder of records touch the disk, and the window must go on meanwhile. The owner looks on its own schedule whether
// the record has been kept, or waits for it, and then takes it; the worker touches nothing but the journal it was given
// and the records' folder. Destroying the keeper waits for the record.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "passes/PassEnd.h"
#include "passes/PassJournalWriter.h"
#include "results/PassRecord.h"
#include "results/Retention.h"

namespace vt {

class TPassRecordKeeper {
 public:
  TPassRecordKeeper() = default;
  ~TPassRecordKeeper() = default;  // the worker, last member, is joined first
  TPassRecordKeeper(const TPassRecordKeeper&) = delete;
  TPassRecordKeeper& operator=(const TPassRecordKeeper&) = delete;

  // Starts keeping the record of the ended pass whose journal this is
  // (KeepPassRecord). A record still kept or not yet taken is waited for and
  // dropped first: its owner takes it before it starts another.
  void Keep(std::unique_ptr<TPassJournalWriter> journal, TPassStopped stopped, std::size_t kept);
  void Keep(std::unique_ptr<TPassJournalWriter> journal, TPassStopped stopped, const TRetention& keep);
  // Nothing is being kept and nothing is left to take.
  bool Idle() const { return !Worker_.joinable(); }
  // The worker has ended: Take returns at once.
  bool Kept() const;
  // Waits at most `most` for the worker to end; true once it has (or when idle).
  bool WaitFor(std::chrono::milliseconds most) const;
  // The record, once the worker has ended (waited for otherwise); idle again
  // afterwards. None when idle: it has been taken already.
  std::optional<TPassRecord> Take();

 private:
  void Run(TPassStopped stopped, TRetention keep);

  std::unique_ptr<TPassJournalWriter> Journal_;  // the worker's until it has ended
  TPassRecord Record_;                           // the worker's until it has ended
  mutable std::mutex Mutex_;
  mutable std::condition_variable KeptWake_;
  bool Kept_ = false;    // under Mutex_
  std::jthread Worker_;  // last: joined before what it uses goes
};

}  // namespace vt
