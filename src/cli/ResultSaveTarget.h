#pragma once
// Where the rows of a pass are saved, settled before the first rename: the
// command line never renames without a record it can keep.
#include <optional>
#include <string>

#include "passes/ResultTable.h"
#include "results/EmptyResultFile.h"

namespace vt {

struct TSaveTarget {
  std::string Path;
  bool Automatic = false;  // a file of the automatic folder, not one the user named
  bool Created = false;    // made by this run to hold the name; removed if no row comes
};

struct TSettledSave {
  std::optional<TSaveTarget> Target;
  std::string Error;  // why nothing may be renamed, when there is no target
};

// FILE as given to --save. An existing file must be a result file (it is replaced
// at the end); a missing one is created now, so that no rename of the pass can
// take its name.
TSettledSave SettleSaveFile(const std::string& path);

// Writes the rows, replacing the file; a table without rows leaves an existing
// file alone and removes the one this run created. Returns the error text, empty
// on success.
std::string SaveRows(const TSaveTarget& target, const TResultTable& table);

}  // namespace vt
