#include "platform/LongestName.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace vt {
namespace {

struct TCloseDir {
  void operator()(DIR* dir) const { ::closedir(dir); }
};
using TDir = std::unique_ptr<DIR, TCloseDir>;

TDir OpenFolder(int parent, const char* name, int flags) {
  const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | flags);
  if (fd < 0) return TDir(nullptr);
  DIR* dir = ::fdopendir(fd);
  if (dir == nullptr) ::close(fd);
  return TDir(dir);
}

bool IsFolder(DIR* dir, const dirent& entry) {
  if (entry.d_type != DT_UNKNOWN) return entry.d_type == DT_DIR;
  struct stat info {};
  return ::fstatat(::dirfd(dir), entry.d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::optional<std::size_t> LongestNameBelow(const std::string& folder, TSubFolders subFolders,
                                            const TListingStop& stop) {
  std::size_t longest = 0;
  TListingStopPoll poll(stop);
  // The folders being read, the deepest last: as many open as the walk is deep.
  std::vector<TDir> open;
  open.push_back(OpenFolder(AT_FDCWD, folder.empty() ? "." : folder.c_str(), 0));
  if (!open.back()) return 0;
  while (!open.empty()) {
    DIR* dir = open.back().get();
    const dirent* entry = ::readdir(dir);  // NOLINT(concurrency-mt-unsafe): each stream is read by one thread
    if (entry == nullptr) {
      open.pop_back();
      continue;
    }
    if (poll.Entry()) return std::nullopt;
    const char* name = entry->d_name;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
    longest = std::max(longest, std::strlen(name));
    if (subFolders == TSubFolders::Include && IsFolder(dir, *entry)) {
      // A folder that cannot be read is left out, as the pass leaves it.
      if (TDir sub = OpenFolder(::dirfd(dir), name, O_NOFOLLOW)) open.push_back(std::move(sub));
    }
  }
  return longest;
}

}  // namespace vt
