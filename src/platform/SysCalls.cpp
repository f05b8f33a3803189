#include "platform/SysCalls.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vt {
namespace {

int Result(int rc) { return rc == 0 ? 0 : errno; }

TEntryInfo InfoOf(const struct stat& st) {
  return {{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)},
          static_cast<std::uint64_t>(st.st_size), S_ISREG(st.st_mode)};
}

class TPosixSysCalls final : public ISysCalls {
 public:
  int OpenFolder(const char* path, int& fd) override {
    fd = ::open(path, O_PATH | O_DIRECTORY | O_CLOEXEC);
    return fd >= 0 ? 0 : errno;
  }
  void CloseFolder(int fd) override { ::close(fd); }
  int RenameNoReplace(int dirFd, const char* from, const char* to) override {
    return Result(::renameat2(dirFd, from, dirFd, to, RENAME_NOREPLACE));
  }
  int Rename(int dirFd, const char* from, const char* to) override {
    return Result(::renameat(dirFd, from, dirFd, to));
  }
  int Link(int dirFd, const char* from, const char* to) override {
    return Result(::linkat(dirFd, from, dirFd, to, 0));
  }
  int Unlink(int dirFd, const char* name) override { return Result(::unlinkat(dirFd, name, 0)); }
  int CreateExclusive(int dirFd, const char* name, TEntryInfo& created) override {
    const int fd = ::openat(dirFd, name, O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return errno;
    struct stat st {};
    const int error = ::fstat(fd, &st) == 0 ? 0 : errno;
    ::close(fd);
    if (error == 0) created = InfoOf(st);
    return error;
  }
  int Lookup(int dirFd, const char* name, TEntryInfo& info) override {
    struct stat st {};
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return errno;
    info = InfoOf(st);
    return 0;
  }
  int ListNames(int dirFd, const std::function<void(std::string_view)>& each) override {
    const int fd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
      const int error = errno;
      ::close(fd);
      return error;
    }
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) each(entry->d_name);
    const int error = errno;
    ::closedir(dir);
    return error;
  }
};

}  // namespace

ISysCalls& PosixSysCalls() {
  static TPosixSysCalls calls;
  return calls;
}

}  // namespace vt
