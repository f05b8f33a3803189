#include "platform/SubFolders.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace vt {

namespace {

bool IsFolder(int dirFd, const dirent& entry) {
  if (entry.d_type == DT_DIR) return true;
  if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
  struct stat st {};
  return ::fstatat(dirFd, entry.d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

int ListSubFolders(const std::string& folder, std::vector<std::string>& names) {
  names.clear();
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return errno;
  const int fd = ::dirfd(dir);
  errno = 0;
  while (const dirent* entry = ::readdir(dir)) {  // NOLINT(concurrency-mt-unsafe): each stream is read by one thread
    if (entry->d_name[0] != '.' && IsFolder(fd, *entry)) names.emplace_back(entry->d_name);
    errno = 0;
  }
  const int error = errno;
  ::closedir(dir);
  return error;
}

}  // namespace vt
