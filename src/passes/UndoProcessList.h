#pragma once
// The record a recover pass builds from one result row.
#include <optional>
#include <string>
#include <vector>

#include "engine/RenameStatus.h"
#include "passes/UndoRowChecks.h"
#include "platform/FileIdentity.h"

namespace vt {

struct TUndoProcessList {
  std::string Path;         // "Path" cell
  std::string NewFileName;  // "New Name" cell
  std::string OldFileName;  // "File" cell
  // "Status" cell; none for a text the program does not know (a result file's)
  std::optional<TRenameStatus> Status;
  TPathTexts Texts = TPathTexts::MayBeCut;
  // The file the pass renamed, where its journal recorded it.
  std::optional<TFileIdentity> Identity{};
};

using TUndoList = std::vector<TUndoProcessList>;

}  // namespace vt
