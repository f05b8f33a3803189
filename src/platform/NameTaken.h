#pragma once
// Whether a rename within a folder would find its new name taken.
#include <string>
#include <string_view>

#include "platform/FolderHandle.h"
#include "platform/FolderNames.h"

namespace vt {

// True when folder holds an entry newName other than oldName itself (a
// case-only rename on a volume that folds case finds the file under its new name).
bool NameTakenByAnother(const std::string& folder, const std::string& oldName, const std::string& newName);

// Whether folder tells its names apart byte for byte, so that a name not among
// those read from it is free: false on a volume or folder that folds case, and
// where that cannot be told.
bool NamesExact(const TFolderHandle& folder);

// How a look tells whether a folder's names are exact, and hashes them; tests
// replace both.
struct TNameLookWays {
  bool (*Exact)(const TFolderHandle& folder) = NamesExact;
  TNameHash Hash = HashOfName;
};

// The same question for many renames, asked relative to an open folder: the
// renames of a pass come folder by folder, so one folder is kept open. Once a
// folder has been asked about often, its names are read once, where they are
// exact: a new name missing from them is free without a look of its own, and
// only one found there is looked up.
class TNameTakenLook {
 public:
  explicit TNameTakenLook(TNameLookWays ways = {}) : Ways_(ways), Names_(ways.Hash) {}
  bool Taken(std::string_view folder, std::string_view oldName, std::string_view newName);

  // Looks in one folder before its names are read: fewer renames than that
  // in a large folder cost less looked up one by one than a reading of it.
  static constexpr std::uint32_t kLooksBeforeReading = 32;

 private:
  // 0 or the errno of opening folder.
  int Enter(std::string_view folder);

  TNameLookWays Ways_;
  TFolderHandle Folder_;
  std::string FolderPath_;
  bool Entered_ = false;
  int OpenError_ = 0;
  std::uint32_t Looks_ = 0;  // in the folder entered
  TFolderNames Names_;       // of the folder entered, once read
  std::string Name_;         // the name asked, ended by a NUL
};

}  // namespace vt
