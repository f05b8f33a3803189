#pragma once
// Whether a rename within a folder would find its new name taken.
#include <string>
#include <string_view>

#include "platform/FolderHandle.h"

namespace vt {

// True when folder holds an entry newName other than oldName itself (a
// case-only rename on a volume that folds case finds the file under its new name).
bool NameTakenByAnother(const std::string& folder, const std::string& oldName, const std::string& newName);

// Whether folder tells its names apart byte for byte, so that a name not among
// those read from it is free: false on a volume or folder that folds case, and
// where that cannot be told.
bool NamesExact(const TFolderHandle& folder);

// The same question for many renames, asked relative to an open folder: the
// renames of a pass come folder by folder, so one folder is kept open, and a
// name that is free costs one look-up of that name alone.
class TNameTakenLook {
 public:
  bool Taken(std::string_view folder, std::string_view oldName, std::string_view newName);

 private:
  // 0 or the errno of opening folder.
  int Enter(std::string_view folder);

  TFolderHandle Folder_;
  std::string FolderPath_;
  bool Entered_ = false;
  int OpenError_ = 0;
  std::string Name_;  // the name asked, ended by a NUL
};

}  // namespace vt
