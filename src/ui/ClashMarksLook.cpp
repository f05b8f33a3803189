#include "ui/ClashMarksLook.h"

#include "engine/RenameStatus.h"
#include "passes/ChainPlan.h"
#include "passes/ResultTable.h"
#include "ui/NameBytes.h"

namespace vt {

namespace {

QString Quoted(std::string_view name) { return QStringLiteral("\u201C%1\u201D").arg(NameText(std::string(name))); }

}  // namespace

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
          if (Order_ == TClashOrder::Grouped) {
            std::vector<TPlannedEntry> renames;
            renames.reserve(Renames_.size());
            for (const std::uint32_t i : Renames_) {
              const TResultRow& row = Table_.Row(i);
              renames.push_back({row.Path(), row.OldName, row.NewName, true});
            }
            Waiting_ = CountWaitingRenames(renames);
          }
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
