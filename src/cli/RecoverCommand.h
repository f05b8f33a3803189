#pragma once
// `veltrane-cli recover FILE|--last|ID`: undoes a pass from its result file,
// its journal, the newest record, or a pass of the history.
#include "cli/CliApp.h"
#include "cli/CommandLine.h"

namespace vt {

int RunRecover(const TCliOptions& options, const TCliEnvironment& environment);

}  // namespace vt
