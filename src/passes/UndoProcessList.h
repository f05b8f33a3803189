#pragma once
// The record a recover pass builds from one result row.
#include <optional>
#include <string>
#include <vector>

#include "engine/RenameStatus.h"
#include "passes/UndoRowChecks.h"

namespace vt {

struct TUndoProcessList {
  std::string Path;         // "Path" cell
  std::string NewFileName;  // "New Name" cell
  std::string OldFileName;  // "File" cell
  // "Status" cell; none for a text the program does not know (a result file's)
  std::optional<TRenameStatus> Status;
  TPathTexts Texts = TPathTexts::MayBeCut;
};

using TUndoList = std::vector<TUndoProcessList>;

}  // namespace vt
