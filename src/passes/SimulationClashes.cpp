#include "passes/SimulationClashes.h"

#include <algorithm>
#include <limits>
#include <map>
#include <memory>
#include <numeric>
#include <tuple>

#include "passes/ChainPlan.h"
#include "passes/UndoRowChecks.h"
#include "platform/NameTaken.h"

namespace vt {

namespace {

std::uint32_t HashOf(std::size_t folder, const TRenameNames& names) {
  const std::size_t name = std::hash<std::string_view>{}(names.NewName);
  const std::uint64_t mixed = (std::uint64_t(folder) * 0x9E3779B97F4A7C15ULL) ^ std::uint64_t(name);
  return std::uint32_t(mixed ^ (mixed >> 32));
}

// The rows of a folder mostly view one text of it.
bool SameText(std::string_view one, std::string_view other) {
  return (one.data() == other.data() && one.size() == other.size()) || one == other;
}

// Room for twice the rows, so that a probe stays short.
std::size_t SlotCount(std::size_t rows) {
  std::size_t slots = 16;
  while (slots < 2 * rows) slots *= 2;
  return slots;
}

TNameTakenCheck OfTheFileSystem() {
  auto look = std::make_shared<TNameTakenLook>();
  return [look](std::string_view folder, std::string_view oldName, std::string_view newName) {
    return look->Taken(folder, oldName, newName);
  };
}

}  // namespace

TClashFinder::TClashFinder(std::vector<std::uint32_t> rows, TRenameNamesOf namesOf, TNameTakenCheck taken,
                           TClashOrder order)
    : Rows_(std::move(rows)), NamesOf_(std::move(namesOf)), Taken_(taken ? std::move(taken) : OfTheFileSystem()) {
  // The first rows of a group are the ones a clash names.
  if (!std::is_sorted(Rows_.begin(), Rows_.end())) std::sort(Rows_.begin(), Rows_.end());
  if (order == TClashOrder::InOrder) {
    Phase_ = TPhase::InOrder;
    // Each row names two at most: the table is at most two thirds full. Zeroed
    // room costs as much as the walk it serves, so no more than that.
    NameStates_.resize(SlotCount(Rows_.size() + Rows_.size() / 2));
    return;
  }
  GroupOf_.resize(Rows_.size());
  Slots_.resize(SlotCount(Rows_.size()));
  // As many groups as rows at most: a growing vector would hold its old and new room at once.
  Groups_.reserve(Rows_.size());
}

void TClashFinder::GroupRow(std::size_t index) {
  const std::uint32_t row = Rows_[index];
  const TRenameNames names = NamesOf_(row);
  // The rows of a folder come together: its hash is made once per run of them.
  if (!SameText(names.Folder, GroupFolder_)) {
    GroupFolder_ = names.Folder;
    GroupFolderHash_ = std::hash<std::string_view>{}(names.Folder);
  }
  const std::uint32_t hash = HashOf(GroupFolderHash_, names);
  const std::size_t mask = Slots_.size() - 1;
  for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    std::uint32_t& entry = Slots_[slot];
    if (entry == 0) {
      Groups_.push_back({row, 0, 1, false});
      entry = std::uint32_t(Groups_.size());
      GroupOf_[index] = entry - 1;
      return;
    }
    TGroup& group = Groups_[entry - 1];
    const TRenameNames head = NamesOf_(group.First);
    if (head.Folder != names.Folder || head.NewName != names.NewName) continue;
    if (group.Size == 1) group.Second = row;
    ++group.Size;
    GroupOf_[index] = entry - 1;
    return;
  }
}

void TClashFinder::AskGroup(std::size_t group) {
  // The first row is the one a real pass renames first: its own file does not
  // take the name.
  const TRenameNames names = NamesOf_(Groups_[group].First);
  Groups_[group].Taken = Taken_(names.Folder, names.OldName, names.NewName);
}

void TClashFinder::CollectRow(std::size_t index) {
  const TGroup& group = Groups_[GroupOf_[index]];
  if (!Clashes(group)) return;
  const std::uint32_t row = Rows_[index];
  if (group.Taken)
    RowClashes_.push_back({row, true, 0});
  else
    RowClashes_.push_back({row, false, row == group.First ? group.Second : group.First});
}

// The row's rename after those of the rows before it: its new name is free
// unless an earlier row took it, or an entry has it now that no earlier row left.
void TClashFinder::WalkRow(std::size_t index) {
  const std::uint32_t row = Rows_[index];
  const TRenameNames names = NamesOf_(row);
  if (!SameText(names.Folder, WalkFolder_)) {
    WalkFolder_ = names.Folder;
    WalkFolderKey_ = FoldedFolderKey(names.Folder);
  }
  const std::uint64_t oldKey = FoldedNameKeyIn(WalkFolderKey_, names.OldName);
  const std::uint64_t newKey = FoldedNameKeyIn(WalkFolderKey_, names.NewName);
  // A change of case keeps its own name.
  if (oldKey == newKey && SameFoldedName(names.OldName, names.NewName)) return;
  // The table never grows: the slot found stays the new name's.
  std::uint32_t& state = NameState(newKey);
  if (state != kNoState && state != kLeftName) {
    RowClashes_.push_back({row, false, state});
    return;
  }
  if (state != kLeftName && Taken_(names.Folder, names.OldName, names.NewName)) {
    RowClashes_.push_back({row, true, 0});
    return;
  }
  NameState(oldKey) = kLeftName;
  state = row;
}

std::uint32_t& TClashFinder::NameState(std::uint64_t key) {
  if (key == 0) key = 1;  // 0 marks a free slot
  const std::size_t mask = NameStates_.size() - 1;
  // The hash's low bits hear only the low bits of each byte: the high ones are mixed in.
  const auto start = static_cast<std::size_t>(((key ^ (key >> 32)) * 0x9E3779B97F4A7C15ULL) >> 20);
  for (std::size_t slot = start & mask;; slot = (slot + 1) & mask) {
    auto& [slotKey, state] = NameStates_[slot];
    if (slotKey == key) return state;
    if (slotKey == 0) {
      slotKey = key;
      state = kNoState;
      return state;
    }
  }
}

void TClashFinder::SkipFinishedPhases() {
  for (;;) {
    switch (Phase_) {
      case TPhase::InOrder:
        if (Done_ < Rows_.size()) return;
        std::vector<std::pair<std::uint64_t, std::uint32_t>>().swap(NameStates_);
        Phase_ = TPhase::Done;
        break;
      case TPhase::Group:
        if (Done_ < Rows_.size()) return;
        std::vector<std::uint32_t>().swap(Slots_);
        Phase_ = TPhase::Ask;
        break;
      case TPhase::Ask:
        if (Done_ < Groups_.size()) return;
        Phase_ = TPhase::Collect;
        break;
      case TPhase::Collect:
        if (Done_ < Rows_.size()) return;
        std::vector<std::uint32_t>().swap(GroupOf_);
        Phase_ = TPhase::Done;
        break;
      case TPhase::Done: return;
    }
    Done_ = 0;
  }
}

bool TClashFinder::Step(std::size_t steps) {
  for (;; --steps) {
    SkipFinishedPhases();
    if (Phase_ == TPhase::Done || steps == 0) return Done();
    switch (Phase_) {
      case TPhase::Group: GroupRow(Done_++); break;
      case TPhase::Ask: AskGroup(Done_++); break;
      case TPhase::Collect: CollectRow(Done_++); break;
      case TPhase::InOrder: WalkRow(Done_++); break;
      case TPhase::Done: break;
    }
  }
}

std::vector<TClash> TClashFinder::Find() {
  Step(std::numeric_limits<std::size_t>::max());
  std::vector<TClash> clashes;
  for (const TGroup& group : Groups_) {
    if (!Clashes(group)) continue;
    const TRenameNames names = NamesOf_(group.First);
    clashes.push_back({std::string(names.Folder), std::string(names.NewName), group.Size, group.Taken});
  }
  std::sort(clashes.begin(), clashes.end(), [](const TClash& a, const TClash& b) {
    return std::tie(a.Folder, a.NewName) < std::tie(b.Folder, b.NewName);
  });
  return clashes;
}

std::vector<TRowClash> TClashFinder::FindRows() {
  Step(std::numeric_limits<std::size_t>::max());
  return RowClashes_;
}

TClashCheck::TClashCheck(TNameTakenCheck taken) : Taken_(std::move(taken)) {}

void TClashCheck::Add(std::string_view folder, std::string_view oldName, std::string_view newName) {
  if (Folders_.empty() || Folders_.back() != folder) Folders_.emplace_back(folder);
  Names_.append(oldName);
  const std::size_t newBegin = Names_.size();
  Names_.append(newName);
  Rows_.push_back({newBegin, Names_.size(), std::uint32_t(Folders_.size() - 1)});
}

TRenameNames TClashCheck::Of(std::size_t row) const {
  const TRow& at = Rows_[row];
  const std::size_t begin = row == 0 ? 0 : Rows_[row - 1].End;
  const std::string_view names(Names_);
  return {Folders_[at.Folder], names.substr(begin, at.NewBegin - begin),
          names.substr(at.NewBegin, at.End - at.NewBegin)};
}

TClashFinder TClashCheck::Finder(TClashOrder order) const {
  std::vector<std::uint32_t> rows(Rows_.size());
  std::iota(rows.begin(), rows.end(), std::uint32_t{0});
  return TClashFinder(
      std::move(rows), [this](std::size_t row) { return Of(row); }, Taken_, order);
}

std::vector<TClash> TClashCheck::Find() const { return Finder().Find(); }
std::vector<TRowClash> TClashCheck::FindRows() const { return Finder().FindRows(); }

std::vector<TClash> TClashCheck::FindInOrder() const {
  std::map<std::pair<std::uint32_t, std::string_view>, TClash> clashes;
  for (const TRowClash& clash : FindRowsInOrder()) {
    const TRenameNames names = Of(clash.Row);
    auto [it, first] =
        clashes.try_emplace({Rows_[clash.Row].Folder, names.NewName},
                            TClash{std::string(names.Folder), std::string(names.NewName), 0, clash.WithExisting});
    // The row that took the name counts too, as it does where rows share a new name.
    it->second.Rows += first && !clash.WithExisting ? 2 : 1;
  }
  std::vector<TClash> found;
  found.reserve(clashes.size());
  for (auto& [key, clash] : clashes) found.push_back(std::move(clash));
  std::sort(found.begin(), found.end(), [](const TClash& a, const TClash& b) {
    return std::tie(a.Folder, a.NewName) < std::tie(b.Folder, b.NewName);
  });
  return found;
}

std::vector<TRowClash> TClashCheck::FindRowsInOrder() const { return Finder(TClashOrder::InOrder).FindRows(); }

std::size_t TClashCheck::WaitingRenames() const {
  std::vector<TPlannedEntry> entries;
  entries.reserve(Rows_.size());
  for (std::size_t row = 0; row < Rows_.size(); ++row) {
    const TRenameNames names = Of(row);
    entries.push_back({names.Folder, names.OldName, names.NewName, true});
  }
  return CountWaitingRenames(entries);
}

std::size_t FailingRows(const std::vector<TClash>& clashes) {
  std::size_t rows = 0;
  for (const TClash& clash : clashes) rows += clash.Failing();
  return rows;
}

}  // namespace vt
