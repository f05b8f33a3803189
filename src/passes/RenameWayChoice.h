#pragma once
// Which way a block's renames go on a volume where each call waits for a
// server or a FUSE daemon. Side by side wins where the round trip dominates;
// where the server itself is the bottleneck (a loaded machine, a daemon that
// serves one call at a time) the extra threads only cost. So both ways are
// timed on the pass's own renames and the faster is taken, and the other way
// is tried again now and then, as the load changes.
#include <chrono>
#include <cstddef>
#include <cstdint>

namespace vt {

enum class TRenameWay : std::uint8_t { OneByOne, SideBySide };

class TRenameWayChoice {
 public:
  // The next block: its first Trial renames one by one (timed on their own),
  // the rest the way Way says.
  struct TPlan {
    TRenameWay Way = TRenameWay::SideBySide;
    std::size_t Trial = 0;
  };
  TPlan Next();
  // Renames done one way took this long in all.
  void Took(TRenameWay way, std::size_t renames, std::chrono::nanoseconds time);

  // Renames one by one a trial takes: enough to time, few enough to cost
  // little where a round trip is long.
  static constexpr std::size_t kTrialRenames = 32;
  // Blocks between two tries of the way not taken.
  static constexpr std::size_t kBlocksBetweenTries = 16;
  // Fewer renames than this time nothing: a start and a wait dominate.
  static constexpr std::size_t kFewestTimed = 8;

 private:
  TRenameWay Faster() const;

  // Mean time per rename each way, as last timed; zero before.
  std::chrono::nanoseconds OneByOne_{0};
  std::chrono::nanoseconds SideBySide_{0};
  std::size_t BlocksSinceTry_ = 0;
};

}  // namespace vt
