#include "ui/ClashMarksLook.h"

#include <algorithm>
#include <utility>

#include "engine/RenameStatus.h"
#include "passes/ResultTable.h"
#include "passes/UndoRowChecks.h"
#include "ui/NameBytes.h"

namespace vt {

namespace {

QString Quoted(std::string_view name) { return QStringLiteral("\u201C%1\u201D").arg(NameText(std::string(name))); }

}  // namespace

std::size_t CountWaitingRows(const TResultTable& table, std::span<const std::uint32_t> renames) {
  // 16 bytes a rename, sorted: a copy of every rename's names would cost more
  // than the table's own rows at the end of a pass.
  std::vector<std::pair<std::uint64_t, std::uint32_t>> byOldName;
  byOldName.reserve(renames.size());
  for (const std::uint32_t i : renames) {
    const TResultRow& row = table.Row(i);
    byOldName.emplace_back(FoldedNameKey(row.Path(), row.OldName), i);
  }
  std::sort(byOldName.begin(), byOldName.end());
  std::size_t waiting = 0;
  for (const std::uint32_t i : renames) {
    const TResultRow& row = table.Row(i);
    const std::uint64_t key = FoldedNameKey(row.Path(), row.NewName);
    for (auto it = std::lower_bound(byOldName.begin(), byOldName.end(), std::pair{key, std::uint32_t{0}});
         it != byOldName.end() && it->first == key; ++it) {
      const TResultRow& holder = table.Row(it->second);
      if (it->second != i && holder.Path() == row.Path() && SameFoldedName(holder.OldName, row.NewName)) {
        ++waiting;
        break;
      }
    }
  }
  return waiting;
}

TClashMarksLook::TClashMarksLook(const TResultTable& table, TNameTakenCheck taken, TClashOrder order)
    : Table_(table), Taken_(std::move(taken)), Order_(order) {}

void TClashMarksLook::CollectRow(std::size_t row) {
  if (Table_.Row(row).KnownStatus() == TRenameStatus::rsCanBeRenamed) Renames_.push_back(std::uint32_t(row));
}

QString ClashTipText(std::string_view newName, bool withExisting, std::string_view otherOldName) {
  return withExisting ? QStringLiteral("%1 exists already in this folder").arg(Quoted(newName))
                      : QStringLiteral("%1 is also the new name of %2").arg(Quoted(newName), Quoted(otherOldName));
}

void TClashMarksLook::MakeTip(std::size_t clash) {
  const TRowClash& row = Finder_->RowClashes()[clash];
  const TResultRow& marked = Table_.Row(row.Row);
  Tips_.insert(int(row.Row), ClashTipText(marked.NewName, row.WithExisting,
                                          row.WithExisting ? std::string_view() : Table_.Row(row.OtherRow).OldName));
}

bool TClashMarksLook::Step(std::size_t steps) {
  while (steps > 0) {
    switch (Phase_) {
      case TPhase::Collect:
        if (Done_ == Table_.RowCount()) {
          // Its room is gone before the finder's is taken.
          if (Order_ == TClashOrder::Grouped) Waiting_ = CountWaitingRows(Table_, Renames_);
          // The finder looks at the table's own names: copying them would cost a
          // second table at the end of a pass.
          Finder_.emplace(
              std::move(Renames_),
              [this](std::size_t i) {
                const TResultRow& row = Table_.Row(i);
                return TRenameNames{row.Path(), row.OldName, row.NewName};
              },
              Taken_, Order_);
          Phase_ = TPhase::Find;
          Done_ = 0;
          continue;
        }
        CollectRow(Done_++);
        --steps;
        break;
      case TPhase::Find:
        if (Finder_->Step(1)) {
          Phase_ = TPhase::Tips;
          continue;
        }
        --steps;
        break;
      case TPhase::Tips:
        if (Done_ == Finder_->RowClashes().size()) {
          Finder_.reset();
          Phase_ = TPhase::Done;
          return true;
        }
        MakeTip(Done_++);
        --steps;
        break;
      case TPhase::Done: return true;
    }
  }
  return Phase_ == TPhase::Done;
}

}  // namespace vt
