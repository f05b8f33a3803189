#include "results/UndoFromFile.h"

#include <algorithm>
#include <optional>

#include "passes/UndoRowChecks.h"
#include "platform/FolderRenamer.h"
#include "results/ValueCode.h"

namespace vt {

bool CannotUndoFromFile(const TResultRow& row) {
  if (row.KnownStatus() != TRenameStatus::rsOk) return false;
  return PathLostBySave(row.Path()) || row.OldName.size() > kShortStringMax || row.NewName.size() > kShortStringMax;
}

std::size_t CountRowsNotUndoableFromFile(const TResultRows& rows) {
  return static_cast<std::size_t>(
      std::count_if(rows.begin(), rows.end(), [](const TResultRow& row) { return CannotUndoFromFile(row); }));
}

void TUndoChains::Add(const TResultRow& row) {
  const std::optional<TRenameStatus> status = row.KnownStatus();
  if (status != TRenameStatus::rsOk && !(status == TRenameStatus::rsError && IsStrandedName(row.NewName))) return;
  Keys_.emplace_back(FoldedNameKey(row.Path(), row.NewName), TName::Held);
  // A change of case only wants back what it holds itself.
  if (!SameFoldedName(row.OldName, row.NewName))
    Keys_.emplace_back(FoldedNameKey(row.Path(), row.OldName), TName::Wanted);
}

// A name both held and wanted, or two keys alike by chance: either way the
// rows are undone together, which is never wrong.
bool TUndoChains::Found() {
  std::sort(Keys_.begin(), Keys_.end());
  for (std::size_t i = 1; i < Keys_.size(); ++i)
    if (Keys_[i - 1].first == Keys_[i].first && Keys_[i - 1].second != Keys_[i].second) return true;
  return false;
}

}  // namespace vt
