#pragma once
// `veltrane-cli show FILE|ID`: prints the rows of a result file, a journal, or
// a pass of the history.
#include "cli/CliApp.h"
#include "cli/CommandLine.h"

namespace vt {

int RunShow(const TCliOptions& options, const TCliEnvironment& environment);

}  // namespace vt
