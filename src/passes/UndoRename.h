#pragma once
// One rename back of Recover, made only where a pass could have made the
// rename: in the folder a walk reaches under the row's Path (never through a
// link, ".." or "."), of a regular file that is not read-only, back to a name
// that is not hidden.
#include <string>

#include "engine/RenameStatus.h"
#include "passes/UndoRowChecks.h"
#include "platform/FolderHandle.h"
#include "platform/FolderRenamer.h"

namespace vt {

class TUndoRename {
 public:
  // "Ok", "Error", "File not found" or "No change"; error is the errno behind
  // an "Error" (0 when the row itself names nothing a pass could have renamed),
  // or one the volume reported for a rename it carried out ("Ok").
  TRenameStatus Undo(const std::string& path, const std::string& newName, const std::string& oldName, TPathTexts texts,
                     int& error);

 private:
  int OpenFolder(const std::string& path);

  TFolderHandle Folder_;  // of the last row: rows of one folder come together
  std::string FolderPath_;
  TFolderRenamer Renamer_;
};

}  // namespace vt
