#pragma once
// One row of a pass, as the pass hands it over: what happened to one entry,
// with no text made yet. The window's table, the command line's formats and the
// result file's writer turn it into words and colours themselves.
#include <memory>
#include <string>

#include "engine/RenameStatus.h"

namespace vt {

struct TPassRow {
  // The folder, ending with "/". Shared by the rows of one folder: a folder of
  // many files costs one copy of its path.
  std::shared_ptr<const std::string> Folder;
  std::string OldName;  // the name as the pass found it
  std::string NewName;  // empty when the pass did not reach a new name
  int SystemError = 0;  // errno of a rename the system refused, else 0
  // Last: a table's row keeps its marks in the room after it.
  TRenameStatus Status = TRenameStatus::rsNoChange;
};

}  // namespace vt
