#pragma once
// Writes a result table as a property stream.
#include "passes/ResultTable.h"
#include "results/ByteSink.h"
#include "results/ResultLayout.h"
#include "results/RowBlock.h"

namespace vt {

// False when the sink refused a write or the rows do not fit a row block.
bool WriteResultTable(const TResultTable& table, const TResultLayout& layout, TByteSink& sink);
// Rows read from elsewhere; false as well when they cannot be read or change
// between their two reads.
bool WriteResultTable(IRowSource& rows, const TResultLayout& layout, TByteSink& sink);

}  // namespace vt
