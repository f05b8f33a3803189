#pragma once
// What stops a rename of a file on Linux whoever asks, root too: the immutable
// and the append-only inode flags. Write permission bits do not (renaming is a
// change of the folder, not of the file), so a file of mode 0444 is renamed as
// any other.
#include <cstdint>

#include "platform/SysCalls.h"

namespace vt {

// Where the look (statx) does not report the flags, a regular file may be
// opened for FS_IOC_GETFLAGS; a look that must not open the file (a held
// placeholder would feel it) takes the flags from the look alone.
enum class FlagSource : std::uint8_t { LookOnly, OpenWhereNeeded };

// lstat semantics, plus TEntryInfo::Immutable for a regular file that carries
// either flag. A volume found once to keep no such flags is not asked again
// (nothing is immutable there); a file that cannot be opened counts as without
// them, and its rename then tells. 0 or the errno of the look.
int LookWithFlags(int dirFd, const char* name, TEntryInfo& info, FlagSource source);

// The same look at a file opened already (fd, links not followed when it was
// opened): where the look does not report the flags they are asked of fd itself.
int LookWithFlags(int fd, TEntryInfo& info);

}  // namespace vt
