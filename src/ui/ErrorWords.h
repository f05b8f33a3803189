#pragma once
// The window's words for what the layers below report as values: a failure
// (TError) and a records folder open to others.
#include <QString>
#include <string>

#include "engine/Error.h"
#include "results/ResultFile.h"

namespace vt {

// Why it failed, as the window's I/O error texts read ("File not found"); a
// folder or file that could not be made, in the system's own words.
QString ErrorReason(const TError& error);

// The notice for a records folder other users can read.
QString OpenFolderWarning(const std::string& folder);

// The text of a result file's failure, without a final ".": "Cannot open file
// %s", "Cannot create file %s", "Stream write error" or message 61187.
std::string ResultFileMessage(const TResultFileFailure& failure);

}  // namespace vt
