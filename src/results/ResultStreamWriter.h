#pragma once
// Writes a result table as a property stream.
#include "passes/ResultTable.h"
#include "results/ByteSink.h"
#include "results/RowBlock.h"

namespace vt {

// False when the sink refused a write or the rows do not fit a row block.
bool WriteResultTable(const TResultTable& table, TByteSink& sink);
// The layout of table with these rows instead of its own; false as well when
// the rows cannot be read or change between their two reads.
bool WriteResultTable(const TResultTable& layout, IRowSource& rows, TByteSink& sink);

}  // namespace vt
