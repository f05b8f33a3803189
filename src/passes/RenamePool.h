#pragma once
// Several renames of a block in flight at once, for volumes where every call
// waits for a server: a fixed set of workers, kept for the pass, takes the
// block's renames in the block's order. Two renames that touch the same name
// (either name, ASCII case ignored, as Recover compares names) in one folder
// never run at once: the later one, and every one after it, waits for the
// earlier to end. So a rename starts only once all before it have started,
// and whatever a stop leaves unstarted is the block's tail.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/SysCalls.h"

namespace vt {

// One rename as the pool schedules it; the names are views the caller keeps.
struct TPoolRename {
  TEntryId Folder;
  std::string_view OldName;
  std::string_view NewName;
};

class TRenamePool {
 public:
  // Runs a rename: worker is the worker's number (below Workers()), job the
  // rename's place in the block. Called on the workers, one job once.
  using TAttempt = std::function<void(std::size_t worker, std::size_t job)>;
  // Asked before each rename starts; true ends the block there.
  using TStopped = std::function<bool()>;

  explicit TRenamePool(std::size_t workers);
  ~TRenamePool();
  TRenamePool(const TRenamePool&) = delete;
  TRenamePool& operator=(const TRenamePool&) = delete;

  std::size_t Workers() const { return Threads_.size(); }
  // Runs the block's renames and returns once every one started has ended:
  // the number started, which are the first ones of the block.
  std::size_t Run(std::span<const TPoolRename> jobs, const TAttempt& attempt, const TStopped& stopped);

 private:
  void Work(std::size_t worker);
  bool WaitsForOneInFlight(const TPoolRename& job) const;

  std::mutex Lock_;
  std::condition_variable Wake_;  // workers: a block begins, or a rename ended
  std::condition_variable Done_;  // the caller: every worker left the block
  std::span<const TPoolRename> Jobs_;
  const TAttempt* Attempt_ = nullptr;
  const TStopped* Stopped_ = nullptr;
  std::size_t Next_ = 0;     // the rename to start next
  bool Ended_ = false;       // the block was stopped
  std::size_t Working_ = 0;  // workers still in the block
  std::uint64_t Block_ = 0;  // counts the blocks run
  bool Quit_ = false;
  std::vector<std::size_t> InFlight_;
  std::vector<std::thread> Threads_;  // started last, joined first
};

// Whether two renames may not run at once.
bool RenamesTouchOneName(const TPoolRename& one, const TPoolRename& other);

}  // namespace vt
