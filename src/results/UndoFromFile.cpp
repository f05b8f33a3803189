#include "results/UndoFromFile.h"

#include <algorithm>

#include "engine/Messages.h"
#include "passes/UndoRowChecks.h"
#include "results/ValueCode.h"

namespace vt {

bool CannotUndoFromFile(const TResultRow& row) {
  if (row.SubItem(2) != Message(Msg::Ok)) return false;
  return PathLostBySave(row.SubItem(1)) || row.Caption.size() > kShortStringMax ||
         row.SubItem(0).size() > kShortStringMax;
}

bool CannotUndoFromFile(const TRowView& row) {
  if (row.Status != Message(Msg::Ok)) return false;
  return PathLostBySave(row.Path) || row.File.size() > kShortStringMax || row.NewName.size() > kShortStringMax;
}

std::size_t CountRowsNotUndoableFromFile(const TResultRows& rows) {
  return static_cast<std::size_t>(
      std::count_if(rows.begin(), rows.end(), [](const TResultRow& row) { return CannotUndoFromFile(row); }));
}

}  // namespace vt
