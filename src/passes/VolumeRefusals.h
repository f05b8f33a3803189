#pragma once
// The renames of a pass that the volume of their folder would refuse (a ":"
// on a camera's exFAT card, a name longer than the volume takes), found before
// a real pass by judging every file it would treat, as a simulation does. The
// front ends warn of them before the pass as of names that clash; the pass
// itself renames none of them and gives each an "Error" row.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "engine/RenameSettings.h"
#include "passes/SearchPassOptions.h"

namespace vt {

struct TRefusedRename {
  std::string Folder;  // ending with "/"
  std::string OldName, NewName;
  int Error = 0;  // the step's reason: kVolumeRefusesChar, ...
};

struct TVolumeRefusals {
  std::size_t Count = 0;
  std::vector<TRefusedRename> First;  // the first of them in the pass's order, as many as asked for
};

// Whether a pass with these options can meet a volume that refuses more than
// Linux does: only then is judging every file before the pass worth its time.
bool MayMeetNameRefusals(const TSearchPassOptions& options);

// Judges the files of the pass without renaming any; stopped, polled as the
// files come, ends the look early with what was found so far.
TVolumeRefusals FindVolumeRefusals(const TSearchPassOptions& options, const TRenameSettings& settings,
                                   std::size_t first, const std::function<bool()>& stopped = {});

// True for an "Error" row's reason that is a refusal of the volume.
bool IsVolumeRefusal(int error);

}  // namespace vt
