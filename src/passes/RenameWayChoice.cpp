#include "passes/RenameWayChoice.h"

#include <algorithm>

namespace vt {

TRenameWayChoice::TPlan TRenameWayChoice::Next() {
  // Side by side first: where it wins, it wins by the number in flight.
  if (SideBySide_.count() == 0) return {TRenameWay::SideBySide, 0};
  if (OneByOne_.count() == 0) return {TRenameWay::SideBySide, kTrialRenames};
  const TRenameWay faster = Faster();
  if (++BlocksSinceTry_ < kBlocksBetweenTries) return {faster, 0};
  BlocksSinceTry_ = 0;
  return faster == TRenameWay::OneByOne ? TPlan{TRenameWay::SideBySide, 0}
                                        : TPlan{TRenameWay::SideBySide, kTrialRenames};
}

void TRenameWayChoice::Took(TRenameWay way, std::size_t renames, std::chrono::nanoseconds time) {
  if (renames < kFewestTimed) return;
  const std::chrono::nanoseconds each =
      std::max(time / static_cast<std::int64_t>(renames), std::chrono::nanoseconds(1));
  (way == TRenameWay::OneByOne ? OneByOne_ : SideBySide_) = each;
}

TRenameWay TRenameWayChoice::Faster() const {
  return OneByOne_ < SideBySide_ ? TRenameWay::OneByOne : TRenameWay::SideBySide;
}

}  // namespace vt
