#pragma once
// Where the rows of a pass are saved, settled before the first rename: the
// command line never renames without a record it can keep.
#include <string>

#include "engine/Expected.h"
#include "passes/ResultTable.h"
#include "results/EmptyResultFile.h"

namespace vt {

struct TSaveTarget {
  std::string Path;
  bool Automatic = false;  // a file of the automatic folder, not one the user named
  bool Created = false;    // made by this run to hold the name; removed if no row comes
};

// FILE as given to --save. An existing file must be a result file (it is replaced
// at the end); a missing one is created now, so that no rename of the pass can
// take its name. The failure says why nothing may be renamed.
TExpected<TSaveTarget, std::string> SettleSaveFile(const std::string& path);

// Writes the rows, replacing the file; a table without rows leaves an existing
// file alone and removes the one this run created. The failure is the error text.
TExpected<void, std::string> SaveRows(const TSaveTarget& target, const TResultTable& table);
// Removes the file this run created for rows that never came.
void RemoveIfCreated(const TSaveTarget& target);

}  // namespace vt
