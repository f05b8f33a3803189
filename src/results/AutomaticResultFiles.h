#pragma once
// The folder of records: a real pass keeps its journal under
// $XDG_STATE_HOME/veltrane/ (~/.local/state/veltrane/ by default), one file per
// pass named by its local date and time, the newest 50 kept. An older version
// kept a result file of the same name beside each journal.
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/TrustedFolder.h"

namespace vt {

inline constexpr std::size_t kAutomaticFilesKept = 50;

// Reads an environment variable; null when it is unset.
using TGetEnv = std::function<const char*(const char*)>;

// The folder, ending with "/"; nothing when neither XDG_STATE_HOME nor HOME is an
// absolute path.
std::optional<std::string> AutomaticFolder(const TGetEnv& getEnv);

// Why no record may be kept in or read from the folder: another user could
// change it or a folder above it. Nothing when it is the user's alone.
std::optional<TUntrustedFolder> RefusedRecordsFolder(const std::string& folder,
                                                     const TFolderUser& user = CurrentFolderUser());

// Whether name in the folder of records may be read as a record: a regular
// file of the user's, not a link.
bool IsOwnRecord(const std::string& folder, const std::string& name, std::uint32_t uid = EffectiveUid());

// "2026-12-08_09-30-05.vtr", then "2026-12-08_09-30-05_002.vtr" and on for more
// passes in the same second: the names sort as the passes started.
std::string AutomaticFileName(std::tm localTime, unsigned sequence);
bool IsAutomaticFileName(const std::string& name);

}  // namespace vt
