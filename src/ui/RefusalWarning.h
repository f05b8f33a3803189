#pragma once
// Before a real pass in the window over a volume that refuses more names than
// Linux does: the renames it would refuse are put to the user in a
// confirmation box (objectName "VolumeRefusalsBox"), the first of them named,
// as the checks put names that would clash.
#include <QString>

#include "engine/RenameSettings.h"
#include "passes/SearchPassOptions.h"
#include "passes/VolumeRefusals.h"

namespace vt {

// The box's text for what was found.
QString RefusalWarningText(const TVolumeRefusals& refused);

// True lets the pass start: no rename would be refused, or "&Yes" was chosen.
bool RefusalsAllowPass(const TSearchPassOptions& options, const TRenameSettings& settings);

}  // namespace vt
