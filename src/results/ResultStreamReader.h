#pragma once
// Reads a property stream into a result table, applying each record at once.
#include <functional>

#include "passes/ResultTable.h"
#include "results/ByteSource.h"
#include "results/ResultLayout.h"

namespace vt {

// Takes each row as it is read; false stops the reading (which still succeeds).
using TRowSink = std::function<bool(const TResultRow& row)>;

// Empties the table's rows, then reads the stream record by record, the rows
// into the table and the rest into the layout. False for a malformed stream;
// what was applied before the fault stays applied.
bool ReadResultTable(TByteSource& source, TResultTable& table, TResultLayout& layout);
// The same, except that the rows go to sink one by one, read straight from the
// source: memory does not grow with the file.
bool ReadResultTable(TByteSource& source, TResultLayout& layout, const TRowSink& sink);

}  // namespace vt
