#pragma once
// Which way a block's renames go on a volume where each call waits for a
// server or a FUSE daemon. Side by side wins where the round trip dominates;
// where the server itself is the bottleneck (a loaded machine, a daemon that
// serves one call at a time) the extra threads only cost. So both ways are
// timed on the pass's own renames and the faster is taken, and both are
// tried again now and then, as the load changes.
//
// A try times the two ways within one block, half each, so that both meet the
// same load; a single try is swayed by a few slow calls, so the choice follows
// the median of the last few.
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>

namespace vt {

enum class TRenameWay : std::uint8_t { OneByOne, SideBySide };
constexpr TRenameWay Other(TRenameWay way) {
  return way == TRenameWay::OneByOne ? TRenameWay::SideBySide : TRenameWay::OneByOne;
}

class TRenameWayChoice {
 public:
  // The next block. A block with a trial is a try: its first Trial renames go
  // TrialWay and the next Trial the other way, each timed; the rest go Way.
  struct TPlan {
    TRenameWay Way = TRenameWay::SideBySide;
    std::size_t Trial = 0;
    TRenameWay TrialWay = TRenameWay::OneByOne;
    bool operator==(const TPlan&) const = default;
  };
  // The plan of a block of this many renames.
  TPlan Next(std::size_t renames);
  // Renames done one way in the block last planned took this long in all.
  void Took(TRenameWay way, std::size_t renames, std::chrono::nanoseconds time);

  // Renames a try times each way: enough to time, few enough that the way
  // found slower costs little.
  static constexpr std::size_t kTryRenames = 64;
  // Tries the choice waits for at the start of a pass, and the tries its median covers.
  static constexpr std::size_t kTries = 3;
  // Blocks between two tries once the choice stands.
  static constexpr std::size_t kBlocksBetweenTries = 16;
  // Fewer renames than this time nothing: a start and a wait dominate.
  static constexpr std::size_t kFewestTimed = 8;

 private:
  TRenameWay Faster() const;
  void EndTry();

  // Time per rename one by one over side by side, of the last tries.
  std::array<double, kTries> Ratios_{};
  std::size_t RatioCount_ = 0;
  std::size_t Tries_ = 0;
  std::size_t BlocksSinceTry_ = 0;
  // The try under way: time per rename each way, zero where not timed.
  bool Trying_ = false;
  std::chrono::nanoseconds OneByOne_{0}, SideBySide_{0};
};

}  // namespace vt
