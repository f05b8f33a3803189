#pragma once
// Before a real pass over a volume that refuses more names than Linux does, or
// with settings that can make a name longer than any volume takes: the renames
// the volume would refuse are warned about on standard error, the first of them
// named, and put to the user as the checks' confirmations are.
#include <functional>
#include <string>

#include "cli/SettingsPrompt.h"
#include "engine/RenameSettings.h"
#include "passes/SearchPassOptions.h"

namespace vt {

// True lets the pass start: no rename would be refused, or going on was confirmed.
bool RefusalsAllowPass(const TSearchPassOptions& options, const TRenameSettings& settings,
                       const TPromptEnvironment& environment, const std::function<bool()>& interrupted);

}  // namespace vt
