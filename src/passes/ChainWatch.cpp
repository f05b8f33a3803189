#include "passes/ChainWatch.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "passes/UndoRowChecks.h"

namespace vt {
namespace {

// A slot: the name's key in its high 48 bits (0 for a free slot), then the
// names that share it and those of them drawn, a byte each. Two names whose
// keys share 48 bits count as one: the watch is only warier for it.
constexpr unsigned kCountBits = 8;
constexpr std::uint64_t kCountMost = (1U << kCountBits) - 1;
constexpr unsigned kNamesShift = kCountBits;
constexpr std::uint64_t kKeyMask = ~std::uint64_t{0} << (2 * kCountBits);

std::uint64_t Names(std::uint64_t slot) { return (slot >> kNamesShift) & kCountMost; }
std::uint64_t Drawn(std::uint64_t slot) { return slot & kCountMost; }

}  // namespace

void TChainWatch::Reset(std::size_t names) {
  Used_ = 0;
  std::size_t size = 16;
  while (size * 4 < names * 5) size *= 2;
  // A table kept from a larger folder is cleared rather than made anew: a walk
  // of many small folders would allocate once per folder otherwise.
  if (Slots_.size() >= size && Slots_.size() <= size * 4)
    std::fill(Slots_.begin(), Slots_.end(), 0);
  else
    Slots_.assign(size, 0);
}

std::uint64_t TChainWatch::Key(std::string_view name) {
  const std::uint64_t key = FoldedNameKeyIn(0, name);
  // The high bits are kept; the low ones, which hear only the low bits of each
  // byte, are mixed into them first.
  const std::uint64_t mixed = (key ^ (key >> 29)) * 0x9E3779B97F4A7C15ULL;
  return (mixed & kKeyMask) != 0 ? mixed & kKeyMask : std::uint64_t{1} << 63;
}

std::size_t TChainWatch::Find(std::uint64_t key) const {
  const std::size_t mask = Slots_.size() - 1;
  // The top bits, which the mixing reaches best, pick the first slot.
  std::size_t at = static_cast<std::size_t>(key >> (64 - std::countr_zero(Slots_.size())));
  while (Slots_[at] != 0 && (Slots_[at] & kKeyMask) != key) at = (at + 1) & mask;
  return at;
}

void TChainWatch::AddName(std::string_view name) {
  if (Full()) Grow();
  const std::uint64_t key = Key(name);
  std::uint64_t& slot = Slots_[Find(key)];
  if (slot == 0) {
    ++Used_;
    slot = key;
  }
  if (Names(slot) < kCountMost) slot += std::uint64_t{1} << kNamesShift;
}

void TChainWatch::Grow() {
  std::vector<std::uint64_t> old = std::move(Slots_);
  Slots_.assign(std::max<std::size_t>(16, old.size() * 2), 0);
  for (const std::uint64_t slot : old)
    if (slot != 0) Slots_[Find(slot & kKeyMask)] = slot;
}

bool TChainWatch::Draw(std::string_view oldName) {
  if (Full()) Grow();
  const std::uint64_t key = Key(oldName);
  std::uint64_t& slot = Slots_[Find(key)];
  // A name not added is added now, as come: a rename that took it came before
  // it and had nothing to wait for.
  if (slot == 0) {
    ++Used_;
    slot = key | (std::uint64_t{1} << kNamesShift);
  }
  if (Drawn(slot) < kCountMost) ++slot;
  return Names(slot) > 1;
}

bool TChainWatch::MayWait(std::string_view newName) const {
  if (Slots_.empty()) return false;
  const std::uint64_t slot = Slots_[Find(Key(newName))];
  // Counts that reached their most no longer tell: any rename to such a name may wait.
  return slot != 0 && (Drawn(slot) < Names(slot) || Names(slot) == kCountMost);
}

}  // namespace vt
