#pragma once
// A request to end a long listing early. Reading and sorting a folder of a
// million names takes seconds, and a stopped pass should not wait for it. A
// listing asks every few thousand entries while it reads, and once more before
// it sorts; once told to stop it hands out nothing.
#include <cstdint>
#include <functional>

namespace vt {

// True once the listing should end; asked on the listing's thread. An empty
// one never stops the listing.
using TListingStop = std::function<bool()>;

// How a listing asks: a count per entry, the request itself only now and then,
// so that asking costs nothing a listing's speed would show.
class TListingStopPoll {
 public:
  explicit TListingStopPoll(const TListingStop& stop) : Stop_(stop) {}

  // Once per entry read or looked at.
  bool Entry() { return (++Count_ & (kEvery - 1)) == 0 && Now(); }
  // Asks at once (before a step that cannot be cut short, such as a sort).
  bool Now() const { return Stop_ && Stop_(); }

 private:
  static constexpr std::uint32_t kEvery = 4096;
  const TListingStop& Stop_;
  std::uint32_t Count_ = 0;
};

}  // namespace vt
