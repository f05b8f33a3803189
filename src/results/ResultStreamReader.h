#pragma once
// Reads a property stream into a result table, applying each record at once.
#include "passes/ResultTable.h"
#include "results/ByteSource.h"

namespace vt {

// Empties the table's rows, then reads the stream record by record. False for a
// malformed stream; what was applied before the fault stays applied.
bool ReadResultTable(TByteSource& source, TResultTable& table);

}  // namespace vt
