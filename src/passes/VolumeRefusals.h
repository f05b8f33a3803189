#pragma once
// The renames of a pass that the volume of their folder would refuse (a ":"
// on a camera's exFAT card, a name longer than the volume takes), found before
// a real pass by judging every file it would treat, as a simulation does. The
// front ends warn of them before the pass as of names that clash; the pass
// itself renames none of them and gives each an "Error" row.
// On a volume with Linux's rules only a name over 255 bytes is refused: the
// files are judged only when the settings can make one that long.
#include <atomic>
#include <cstddef>
#include <cstdint>
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

// What has to be looked at before a pass, from the mount table and the
// settings alone (quick enough for the window thread).
enum class TRefusalLook : std::uint8_t {
  None,       // no new name can be refused
  Full,       // a volume with other rules: every file is judged
  LongNames,  // the settings can lengthen names: the longest listed name tells
              // whether any can pass 255 bytes, and only then is every file judged
};
TRefusalLook RefusalLookFor(const TSearchPassOptions& options, const TRenameSettings& settings);

// Judges the files of the pass without renaming any; stopped, polled as the
// files come, ends the look early with what was found so far. files, when
// given, counts the entries judged.
TVolumeRefusals FindVolumeRefusals(const TSearchPassOptions& options, const TRenameSettings& settings,
                                   std::size_t first, const std::function<bool()>& stopped = {},
                                   std::atomic<std::uint64_t>* files = nullptr);

// The look RefusalLookFor asked for: nothing for None, FindVolumeRefusals for
// Full, and for LongNames a listing first, the judging only when a listed name
// can grow past 255 bytes.
TVolumeRefusals LookForRefusals(TRefusalLook look, const TSearchPassOptions& options, const TRenameSettings& settings,
                                std::size_t first, const std::function<bool()>& stopped = {},
                                std::atomic<std::uint64_t>* files = nullptr);

// True for an "Error" row's reason that is a refusal of the volume.
bool IsVolumeRefusal(int error);

}  // namespace vt
