#pragma once
// The kernel's table of mounts (/proc/self/mountinfo), parsed into entries.
// Tests hand in a table of their own instead of the system's.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vt {

struct TMountEntry {
  unsigned Major = 0;  // device numbers of the mounted file system
  unsigned Minor = 0;
  std::string MountPoint;  // where it is mounted, escapes decoded
  std::string FsType;      // "ext4", "fuse.sshfs", ...
  std::string Source;      // "/dev/sda1", "//server/share", "host:/export", ...
};

// Lines that do not have the mountinfo shape are skipped.
std::vector<TMountEntry> ParseMountInfo(std::string_view text);

// The system's table, or the one set for tests. Empty when it cannot be read.
std::vector<TMountEntry> ReadMountTable();

// Replaces the system's table by text in mountinfo form; nullopt goes back to the system's.
void SetMountTableForTesting(std::optional<std::string> mountInfoText);

}  // namespace vt
