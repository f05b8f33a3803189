#pragma once
// Which rows a saved result file cannot undo. Texts are cut at 255 bytes when
// saved, without splitting a character, so a Path read back from a file with 252
// bytes or more may name another folder than the one the pass renamed in, and
// Recover refuses it (passes/UndoRowChecks.h).
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "passes/ResultTable.h"
#include "results/RowBlock.h"

namespace vt {

// A row Recover would rename back (status "Ok") that it cannot once the table
// has gone through a file: its Path may be cut, or a name is longer than a
// file keeps.
bool CannotUndoFromFile(const TResultRow& row);

// How many of the rows that is; the window and the command line say so after a save.
std::size_t CountRowsNotUndoableFromFile(const TResultRows& rows);

// Whether a row of a file can go back only after another one has (its old
// name is another row's new name, as after a renumbering): such rows cannot be
// undone a batch at a time. Takes the rows one by one, 9 bytes a row.
class TUndoChains {
 public:
  void Add(const TResultRow& row);
  bool Found();

 private:
  enum class TName : std::uint8_t { Held, Wanted };
  std::vector<std::pair<std::uint64_t, TName>> Keys_;
};

}  // namespace vt
