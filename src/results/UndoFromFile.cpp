#include "results/UndoFromFile.h"

#include <algorithm>

#include "engine/Messages.h"
#include "results/ValueCode.h"

namespace vt {

bool PathMayBeCut(std::string_view path) { return path.size() >= kPathMayBeCutLength; }

bool CannotUndoFromFile(const TResultRow& row) {
  if (row.SubItem(2) != Message(Msg::Ok)) return false;
  return PathMayBeCut(row.SubItem(1)) || row.Caption.size() > kShortStringMax ||
         row.SubItem(0).size() > kShortStringMax;
}

std::size_t CountRowsNotUndoableFromFile(const std::vector<TResultRow>& rows) {
  return static_cast<std::size_t>(std::count_if(rows.begin(), rows.end(), CannotUndoFromFile));
}

}  // namespace vt
