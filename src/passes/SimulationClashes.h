#pragma once
// The renames of a simulation that cannot all succeed: several rows giving one
// new name in one folder, or a new name that is already taken there. Their rows
// still say "Can be renamed"; both front ends point them out.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace vt {

struct TClash {
  std::string Folder;
  std::string NewName;
  std::size_t Rows = 0;  // rows giving this new name in this folder
  bool Exists = false;   // another entry has the name already
  std::size_t Failing() const { return Exists ? Rows : Rows - 1; }
};

// One row that clashes, and with what.
struct TRowClash {
  std::size_t Row = 0;        // its number in the order rows were added
  bool WithExisting = false;  // the new name is taken by an existing entry
  std::size_t OtherRow = 0;   // else: another row giving the same new name
  bool operator==(const TRowClash&) const = default;
};

// Whether the new name of a rename in folder is taken by an entry other than the file itself.
using TNameTakenCheck =
    std::function<bool(const std::string& folder, const std::string& oldName, const std::string& newName)>;

class TClashCheck {
 public:
  // Existence is asked of the file system, or of taken for tests.
  TClashCheck();
  explicit TClashCheck(TNameTakenCheck taken);

  // One "Can be renamed" row; rows are numbered from 0 in the order added.
  void Add(const std::string& folder, const std::string& oldName, const std::string& newName);
  std::size_t Size() const { return Renames_.size(); }
  const std::string& OldName(std::size_t row) const { return Renames_[row].OldName; }

  // Looks at the folders now; clashes in the order of folder and name.
  std::vector<TClash> Find() const;
  // Every row of a clash, in row order: a row sharing its new name with others
  // names the first other one; a row whose name is taken names the existing entry.
  std::vector<TRowClash> FindRows() const;

 private:
  struct TRename {
    std::string Folder, OldName, NewName;
  };
  // Rows giving one new name in one folder, in row order, one group after another.
  std::vector<std::vector<std::size_t>> Groups() const;

  TNameTakenCheck Taken_;
  std::vector<TRename> Renames_;
};

// Rows of a simulation that would fail in a real pass.
std::size_t FailingRows(const std::vector<TClash>& clashes);

}  // namespace vt
