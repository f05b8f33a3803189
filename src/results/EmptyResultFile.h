#pragma once
// A result file made to hold a name before the rows that will fill it exist.
#include <string>

#include "engine/Expected.h"

namespace vt {

// Creates path exclusively, holding the stream of a table without rows: a run
// that is killed leaves a valid result file. Nothing, or why not (Create, with
// EEXIST when the name is taken, or Write).
TExpected<void> CreateEmptyResultFile(const std::string& path);

}  // namespace vt
