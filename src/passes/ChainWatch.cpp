#include "passes/ChainWatch.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "passes/UndoRowChecks.h"

namespace vt {

void TChainWatch::Reset(std::size_t names) {
  Used_ = 0;
  const std::size_t size = std::bit_ceil(std::max<std::size_t>(16, names + names / 2 + 1));
  // A table kept from a larger folder is cleared rather than made anew: a walk
  // of many small folders would allocate once per folder otherwise.
  if (Slots_.size() >= size && Slots_.size() <= size * 4)
    std::fill(Slots_.begin(), Slots_.end(), TSlot{});
  else
    Slots_.assign(size, TSlot{});
}

std::uint64_t TChainWatch::Key(std::string_view name) {
  const std::uint64_t key = FoldedNameKeyIn(0, name);
  return key == 0 ? 1 : key;  // 0 marks a free slot: sharing the key of 1 only makes the watch warier
}

std::size_t TChainWatch::Find(std::uint64_t key) const {
  const std::size_t mask = Slots_.size() - 1;
  // The hash's low bits hear only the low bits of each byte: mix the high ones in.
  std::size_t at = static_cast<std::size_t>(((key ^ (key >> 32)) * 0x9E3779B97F4A7C15ULL) >> 20) & mask;
  while (Slots_[at].Key != 0 && Slots_[at].Key != key) at = (at + 1) & mask;
  return at;
}

void TChainWatch::AddName(std::string_view name) {
  if (Full()) Grow();
  const std::uint64_t key = Key(name);
  TSlot& slot = Slots_[Find(key)];
  if (slot.Key == 0) ++Used_;
  slot.Key = key;
  ++slot.Names;
}

void TChainWatch::Grow() {
  std::vector<TSlot> old = std::move(Slots_);
  Slots_.assign(std::max<std::size_t>(16, old.size() * 2), TSlot{});
  for (const TSlot& slot : old)
    if (slot.Key != 0) Slots_[Find(slot.Key)] = slot;
}

bool TChainWatch::Draw(std::string_view oldName) {
  if (Full()) Grow();
  const std::uint64_t key = Key(oldName);
  const std::size_t at = Find(key);
  // A name not added is added now, as come: a rename that took it came before
  // it and had nothing to wait for.
  if (Slots_[at].Key == 0) {
    ++Used_;
    Slots_[at] = TSlot{key, 1, 0};
  }
  TSlot& slot = Slots_[at];
  ++slot.Drawn;
  return slot.Names > 1;
}

bool TChainWatch::MayWait(std::string_view newName) const {
  if (Slots_.empty()) return false;
  const TSlot& slot = Slots_[Find(Key(newName))];
  return slot.Key != 0 && slot.Drawn < slot.Names;
}

}  // namespace vt
