#pragma once
// Which rows a saved result file cannot undo. Texts are cut at 255 bytes when
// saved, so a Path of 255 bytes or more read back from a file may name another
// folder than the one the pass renamed in, and Recover refuses it.
#include <cstddef>
#include <string_view>
#include <vector>

#include "passes/ResultTable.h"

namespace vt {

// A Path this long may have been cut by a save.
inline constexpr std::size_t kPathMayBeCutLength = 255;

bool PathMayBeCut(std::string_view path);

// A row Recover would rename back (status "Ok") that it cannot once the table
// has gone through a file: its Path may be cut, or a name is longer than a
// file keeps.
bool CannotUndoFromFile(const TResultRow& row);

// How many of the rows that is; the window and the command line say so after a save.
std::size_t CountRowsNotUndoableFromFile(const std::vector<TResultRow>& rows);

}  // namespace vt
