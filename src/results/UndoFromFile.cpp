#include "results/UndoFromFile.h"

#include <algorithm>

#include "passes/UndoRowChecks.h"
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

}  // namespace vt
