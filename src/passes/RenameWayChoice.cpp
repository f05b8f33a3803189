#include "passes/RenameWayChoice.h"

#include <algorithm>

namespace vt {

TRenameWayChoice::TPlan TRenameWayChoice::Next(std::size_t renames) {
  EndTry();
  const TRenameWay faster = Faster();
  const bool due = Tries_ < kTries || ++BlocksSinceTry_ >= kBlocksBetweenTries;
  if (!due || renames < 2 * kFewestTimed) return {faster, 0, faster};
  BlocksSinceTry_ = 0;
  Trying_ = true;
  // Each way goes first in turn: what a block's start or end costs falls on both.
  const TRenameWay first = Tries_++ % 2 == 0 ? TRenameWay::OneByOne : TRenameWay::SideBySide;
  return {faster, std::min(renames / 2, kTryRenames), first};
}

void TRenameWayChoice::Took(TRenameWay way, std::size_t renames, std::chrono::nanoseconds time) {
  if (!Trying_ || renames < kFewestTimed) return;
  const std::chrono::nanoseconds each =
      std::max(time / static_cast<std::int64_t>(renames), std::chrono::nanoseconds(1));
  (way == TRenameWay::OneByOne ? OneByOne_ : SideBySide_) = each;
}

// A try counts only where both ways were timed to their end.
void TRenameWayChoice::EndTry() {
  if (Trying_ && OneByOne_.count() > 0 && SideBySide_.count() > 0) {
    std::move(Ratios_.begin() + 1, Ratios_.end(), Ratios_.begin());
    Ratios_.back() = static_cast<double>(OneByOne_.count()) / static_cast<double>(SideBySide_.count());
    RatioCount_ = std::min(RatioCount_ + 1, kTries);
  }
  Trying_ = false;
  OneByOne_ = SideBySide_ = std::chrono::nanoseconds(0);
}

// Side by side until a try says otherwise: where it wins, it wins by the number in flight.
TRenameWay TRenameWayChoice::Faster() const {
  if (RatioCount_ == 0) return TRenameWay::SideBySide;
  std::array<double, kTries> last{};
  const auto from = Ratios_.end() - static_cast<std::ptrdiff_t>(RatioCount_);
  std::copy(from, Ratios_.end(), last.begin());
  const auto end = last.begin() + static_cast<std::ptrdiff_t>(RatioCount_);
  const auto middle = last.begin() + static_cast<std::ptrdiff_t>(RatioCount_ / 2);
  std::nth_element(last.begin(), middle, end);
  // Of two, the mean: neither alone decides.
  const double ratio = RatioCount_ % 2 == 1 ? *middle : (last[0] + last[1]) / 2;
  return ratio < 1.0 ? TRenameWay::OneByOne : TRenameWay::SideBySide;
}

}  // namespace vt
