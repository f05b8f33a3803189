#pragma once
// The command line's words for what the layers below report as values: a
// failure (TError) and a records folder open to others.
#include <string>

#include "engine/Error.h"
#include "results/ResultFile.h"

namespace vt {

// Why it failed: the system's own description of its code, or, where the
// system gave none, what failed.
std::string ErrorReason(const TError& error);

// The warning for a records folder other users can read.
std::string OpenFolderWarning(const std::string& folder);

// The text of a result file's failure, without a final ".": "Cannot open file
// %s", "Cannot create file %s", "Stream write error" or message 61187.
std::string ResultFileMessage(const TResultFileFailure& failure);

}  // namespace vt
