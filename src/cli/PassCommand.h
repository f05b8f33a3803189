#pragma once
// `veltrane-cli [-x] FOLDER OPERATION ...`: a Simulate, or with -x a Rename,
// of the files of a folder, its rows printed and its record kept.
#include "cli/CliApp.h"
#include "cli/CommandLine.h"

namespace vt {

int RunPass(const TCliOptions& options, const TCliEnvironment& environment);

}  // namespace vt
