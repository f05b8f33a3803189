#pragma once
// The renames of a simulation that cannot all succeed: several rows giving one
// new name in one folder, or a new name that is already taken there. Their rows
// still say "Can be renamed"; the command line warns about them.
#include <cstddef>
#include <string>
#include <vector>

namespace vt {

struct TClash {
  std::string Folder;
  std::string NewName;
  std::size_t Rows = 0;     // rows giving this new name in this folder
  bool Exists = false;      // another entry has the name already
  std::size_t Failing() const { return Exists ? Rows : Rows - 1; }
};

class TClashCheck {
 public:
  // One "Can be renamed" row.
  void Add(const std::string& folder, const std::string& oldName, const std::string& newName);
  // Looks at the folders now; clashes in the order of folder and name.
  std::vector<TClash> Find() const;

 private:
  struct TRename {
    std::string Folder, OldName, NewName;
  };
  std::vector<TRename> Renames_;
};

// Rows of a simulation that would fail in a real pass.
std::size_t FailingRows(const std::vector<TClash>& clashes);

}  // namespace vt
