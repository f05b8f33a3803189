#pragma once
// One rename back of Recover, made only where a pass could have made the
// rename: in the folder a walk reaches under the row's Path (never through a
// link, ".." or "."), of a regular file that is not read-only, back to a name
// that is not hidden.
#include <optional>
#include <string>
#include <utility>

#include "engine/RenameStatus.h"
#include "passes/UndoRowChecks.h"
#include "platform/FileIdentity.h"
#include "platform/FolderHandle.h"
#include "platform/FolderRenamer.h"

namespace vt {

class TUndoRename {
 public:
  // "Ok", "Error", "File not found" or "No change"; error is the errno behind
  // an "Error" (0 when the row itself names nothing a pass could have renamed),
  // or one the volume reported for a rename it carried out ("Ok").
  // file: the file the pass renamed, where its journal recorded it; one found
  // already back under its old name (a recover killed after its rename back)
  // is "No change".
  TRenameStatus Undo(const std::string& path, const std::string& newName, const std::string& oldName, TPathTexts texts,
                     int& error, const std::optional<TFileIdentity>& file = std::nullopt);
  void OnTemporaryName(TTemporaryNameHook hook) { Renamer_.OnTemporaryName(std::move(hook)); }

 private:
  int OpenFolder(const std::string& path);
  bool IsBack(const std::string& newName, const std::string& oldName, const TFileIdentity& file, bool newIsFile);

  TFolderHandle Folder_;  // of the last row: rows of one folder come together
  std::string FolderPath_;
  TFolderRenamer Renamer_;
  TIdentityRules Rules_;
};

}  // namespace vt
