#include "passes/ChainPlan.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <utility>

#include "passes/UndoRowChecks.h"

namespace vt {
namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

// For each rename, the rename whose old name its new name is, if any; an
// exact spelling is preferred where names differ only by case.
std::vector<std::uint32_t> WaitedFor(std::span<const TPlannedEntry> entries) {
  // The renames by folded old name in one flat table, chained through next: one
  // allocation each, and a look costs a probe, where sorting them cost more
  // than all the rest of a simulation's clash look.
  std::vector<std::uint64_t> keys(entries.size());
  std::vector<std::uint32_t> next(entries.size(), kNone);
  std::size_t slotCount = 16;
  while (slotCount < 2 * entries.size()) slotCount *= 2;
  std::vector<std::uint32_t> slots(slotCount, kNone);
  const std::size_t mask = slotCount - 1;
  const auto slotOf = [mask](std::uint64_t key) {
    // FNV's low bits hear only the low bits of each byte: the high ones are mixed in.
    return static_cast<std::size_t>(((key ^ (key >> 32)) * 0x9E3779B97F4A7C15ULL) >> 20) & mask;
  };
  // Entries of a folder come together: its key is made once per run of them.
  std::string_view folder;
  std::uint64_t folderKey = FoldedFolderKey(folder);
  const auto keyIn = [&folder, &folderKey](std::string_view entryFolder) {
    if (entryFolder.data() != folder.data() || entryFolder != folder) {
      folder = entryFolder;
      folderKey = FoldedFolderKey(folder);
    }
    return folderKey;
  };
  for (std::uint32_t i = 0; i < entries.size(); ++i) {
    if (!entries[i].Renames) continue;
    keys[i] = FoldedNameKeyIn(keyIn(entries[i].Folder), entries[i].OldName);
    std::uint32_t& slot = slots[slotOf(keys[i])];
    next[i] = slot;
    slot = i;
  }
  std::vector<std::uint32_t> waits(entries.size(), kNone);
  for (std::uint32_t i = 0; i < entries.size(); ++i) {
    const TPlannedEntry& entry = entries[i];
    if (!entry.Renames || entry.Moved) continue;
    const std::uint64_t key = FoldedNameKeyIn(keyIn(entry.Folder), entry.NewName);
    // The last holder spelled exactly so, else the first whose name folds to it.
    std::uint32_t exact = kNone, folded = kNone;
    for (std::uint32_t holder = slots[slotOf(key)]; holder != kNone; holder = next[holder]) {
      if (keys[holder] != key || holder == i || entries[holder].Folder != entry.Folder ||
          !SameFoldedName(entries[holder].OldName, entry.NewName))
        continue;
      if (exact == kNone && entries[holder].OldName == entry.NewName) exact = holder;
      folded = holder;
    }
    waits[i] = exact != kNone ? exact : folded;
  }
  return waits;
}

}  // namespace

std::vector<TChainStep> PlanChains(std::span<const TPlannedEntry> entries) {
  enum class TState : std::uint8_t { Waiting, Visiting, Opened, Done };
  const std::vector<std::uint32_t> waits = WaitedFor(entries);
  std::vector<TState> state(entries.size(), TState::Waiting);
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (entries[i].Moved) state[i] = TState::Done;
  std::vector<TChainStep> steps;
  steps.reserve(entries.size());
  std::vector<std::uint32_t> stack;
  for (std::uint32_t first = 0; first < entries.size(); ++first) {
    if (entries[first].Moved) continue;
    if (!entries[first].Renames) {
      steps.push_back({TChainStepKind::Row, first});
      continue;
    }
    if (state[first] != TState::Waiting) continue;
    // Depth first without recursion: renumbering a million files is one chain.
    stack.assign(1, first);
    state[first] = TState::Visiting;
    while (!stack.empty()) {
      const std::uint32_t top = stack.back();
      const std::uint32_t wait = waits[top];
      if (wait != kNone && state[wait] == TState::Waiting) {
        state[wait] = TState::Visiting;
        stack.push_back(wait);
        continue;
      }
      // A ring: the rename waited for is on the path already, and waits in
      // turn for this one. It steps aside, and the ring unwinds back to it.
      if (wait != kNone && state[wait] == TState::Visiting) {
        steps.push_back({TChainStepKind::ToTemp, wait});
        state[wait] = TState::Opened;
      }
      stack.pop_back();
      steps.push_back({state[top] == TState::Opened ? TChainStepKind::FromTemp : TChainStepKind::Move, top});
      state[top] = TState::Done;
    }
  }
  return steps;
}

std::size_t CountWaitingRenames(std::span<const TPlannedEntry> entries) {
  std::size_t waiting = 0;
  for (const std::uint32_t wait : WaitedFor(entries)) waiting += wait != kNone ? 1 : 0;
  return waiting;
}

namespace {
constexpr std::string_view kRingPrefix = ".vt-ring-", kRingSuffix = ".tmp";
constexpr std::size_t kRingDigits = 16;
}  // namespace

std::string RingTempName(std::string_view folder, std::string_view oldName, unsigned attempt) {
  char digits[kRingDigits + 1];
  const std::uint64_t key = FoldedNameKey(folder, oldName) + attempt;
  std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(key));
  std::string name(kRingPrefix);
  name += digits;
  name += kRingSuffix;
  return name;
}

bool IsRingTempName(std::string_view name) {
  if (name.size() != kRingPrefix.size() + kRingDigits + kRingSuffix.size() || !name.starts_with(kRingPrefix) ||
      !name.ends_with(kRingSuffix))
    return false;
  for (const char c : name.substr(kRingPrefix.size(), kRingDigits))
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  return true;
}

}  // namespace vt
