#pragma once
// Writes a result table as a property stream.
#include "passes/ResultTable.h"
#include "results/ByteSink.h"

namespace vt {

// False when the sink refused a write or the rows do not fit a row block.
bool WriteResultTable(const TResultTable& table, TByteSink& sink);

}  // namespace vt
