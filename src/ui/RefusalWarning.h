#pragma once
// Before a real pass in the window over a volume that refuses more names than
// Linux does, or with settings that can make a name longer than any volume
// takes: the renames the volume would refuse are put to the user in a
// confirmation box (objectName "VolumeRefusalsBox"), the first of them named,
// as the checks put names that would clash. The files are judged on a worker
// (ui/RefusalLookWorker.h).
#include <QString>
#include <optional>

#include "engine/RenameSettings.h"
#include "passes/SearchPassOptions.h"
#include "passes/VolumeRefusals.h"
#include "ui/RefusalLookWorker.h"

namespace vt {

// The box's text for what was found.
QString RefusalWarningText(const TVolumeRefusals& refused);

// True lets the pass start: no rename would be refused, or "&Yes" was chosen.
// A look stopped, or the window closed meanwhile, starts nothing.
bool RefusalsAllowPass(const TSearchPassOptions& options, const TRenameSettings& settings, const TLookWindow& window);

// What judges the files instead of the pass's own judging, or the pass's own
// again (none): lets a test hold the look as long as it likes.
using TRefusalFinderForTesting = std::function<TVolumeRefusals(
    const TSearchPassOptions& options, const std::function<bool()>& stopped, std::atomic<std::uint64_t>& files)>;
void SetRefusalFinderForTesting(std::optional<TRefusalFinderForTesting> finder);

}  // namespace vt
