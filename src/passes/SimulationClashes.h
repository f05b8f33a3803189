#pragma once
// The renames of a simulation that cannot all succeed: several rows giving one
// new name in one folder, or a new name that is already taken there. Their rows
// still say "Can be renamed"; both front ends point them out.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
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
  std::size_t Row = 0;        // its number
  bool WithExisting = false;  // the new name is taken by an existing entry
  std::size_t OtherRow = 0;   // else: another row giving the same new name
  bool operator==(const TRowClash&) const = default;
};

// Whether the new name of a rename in folder is taken by an entry other than the file itself.
using TNameTakenCheck =
    std::function<bool(std::string_view folder, std::string_view oldName, std::string_view newName)>;

// A rename's names, viewed where their owner keeps them.
struct TRenameNames {
  std::string_view Folder, OldName, NewName;
};
// The names of a row by its number; the views must last while the finder runs.
using TRenameNamesOf = std::function<TRenameNames(std::size_t row)>;

// Whether the renames are attempted each on its own, as a pass does without
// chains (a name is taken when it exists now or another row gives it too), or
// one after another in row order, as a pass whose renames make room for each
// other does them (a name an earlier row left is free; one it took is not).
enum class TClashOrder : std::uint8_t { Grouped, InOrder };

// Looks at the renames of the rows given (by number, ascending) where their
// names are held: a table of a million rows is not copied to be looked at.
// Existence is asked once per new name of a folder, of the file system unless
// taken is given. The work can be done a few steps at a time, so that a window
// keeps answering while it looks; its owner must then keep the names unchanged
// until it is done, or drop the finder.
class TClashFinder {
 public:
  TClashFinder(std::vector<std::uint32_t> rows, TRenameNamesOf namesOf, TNameTakenCheck taken,
               TClashOrder order = TClashOrder::Grouped);

  // Does at most steps of the work (a row put in its group, a name asked, a row
  // looked at for its clash); true once all of it is done.
  bool Step(std::size_t steps);
  bool Done() const { return Phase_ == TPhase::Done; }

  // Clashes in the order of folder and name; does what is left of the work first.
  std::vector<TClash> Find();
  // Every row of a clash, in row order: a row sharing its new name with others
  // names the first other one; a row whose name is taken names the existing entry.
  std::vector<TRowClash> FindRows();
  // The rows FindRows gives, once Done.
  const std::vector<TRowClash>& RowClashes() const { return RowClashes_; }

 private:
  // The rows giving one new name in one folder.
  struct TGroup {
    std::uint32_t First = 0, Second = 0;  // its first two rows (Second only if Size > 1)
    std::uint32_t Size = 0;
    bool Taken = false;
  };
  enum class TPhase : std::uint8_t { Group, Ask, Collect, InOrder, Done };

  void GroupRow(std::size_t index);
  void AskGroup(std::size_t group);
  void CollectRow(std::size_t index);
  void WalkRow(std::size_t index);
  static bool Clashes(const TGroup& group) { return group.Size > 1 || group.Taken; }
  // Moves on past the phases with nothing left to do, freeing what they needed.
  void SkipFinishedPhases();

  std::vector<std::uint32_t> Rows_;
  TRenameNamesOf NamesOf_;
  TNameTakenCheck Taken_;
  TPhase Phase_ = TPhase::Group;
  std::size_t Done_ = 0;                // of the current phase's items
  std::vector<std::uint32_t> GroupOf_;  // by index into Rows_
  std::vector<TGroup> Groups_;          // in the order of their first rows
  std::vector<std::uint32_t> Slots_;    // open addressing: group + 1, 0 for free
  std::vector<TRowClash> RowClashes_;
  // In order: per folded name of a folder, the row that took it, or kLeftName
  // once a row left it; open addressing, a key of 0 for a free slot.
  static constexpr std::uint32_t kLeftName = 0xFFFFFFFF;
  static constexpr std::uint32_t kNoState = 0xFFFFFFFE;
  std::uint32_t& NameState(std::uint64_t key);
  std::vector<std::pair<std::uint64_t, std::uint32_t>> NameStates_;
  std::string_view GroupFolder_;  // the folder of the last row grouped, and its hash
  std::size_t GroupFolderHash_ = 0;
  std::string_view WalkFolder_;  // the folder of the last row walked, and its key
  std::uint64_t WalkFolderKey_ = 0;
};

// Collects the renames of a pass as it goes, for the command line, whose rows
// are gone once written.
class TClashCheck {
 public:
  // Existence is asked of the file system, or of taken for tests.
  explicit TClashCheck(TNameTakenCheck taken = {});

  // One "Can be renamed" row; rows are numbered from 0 in the order added.
  void Add(std::string_view folder, std::string_view oldName, std::string_view newName);
  std::size_t Size() const { return Rows_.size(); }
  std::string_view OldName(std::size_t row) const { return Of(row).OldName; }

  // Looks at the folders now.
  std::vector<TClash> Find() const;
  std::vector<TRowClash> FindRows() const;
  // The same for renames done one after another in the order added, as a pass
  // whose renames make room for each other does them: a name another rename
  // left before is free. Each clash's Rows counts the rows failing, and the
  // one that took the name when it is not an existing entry.
  std::vector<TClash> FindInOrder() const;
  std::vector<TRowClash> FindRowsInOrder() const;
  // Rows whose new name is the old name of another row of their folder.
  std::size_t WaitingRenames() const;

 private:
  // A row's names lie one after the other in Names_, from the end of the row
  // before: about 20 bytes a row besides the names, and no allocation of its own.
  struct TRow {
    std::size_t NewBegin = 0, End = 0;
    std::uint32_t Folder = 0;  // in Folders_
  };
  TRenameNames Of(std::size_t row) const;
  TClashFinder Finder(TClashOrder order = TClashOrder::Grouped) const;

  TNameTakenCheck Taken_;
  // The rows of a folder come one after another: each folder is kept once.
  std::vector<std::string> Folders_;
  std::string Names_;
  std::vector<TRow> Rows_;
};

// Rows of a simulation that would fail in a real pass.
std::size_t FailingRows(const std::vector<TClash>& clashes);

}  // namespace vt
