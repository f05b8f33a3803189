#pragma once
// The result table and its layout in one, as a window holds them side by side:
// what a result file reads and writes, for tests that look at both.
#include "passes/ResultTable.h"
#include "results/ResultLayout.h"

namespace vt::test {

struct TTableWithLayout : TResultTable, TResultLayout {};

}  // namespace vt::test
