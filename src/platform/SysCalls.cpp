#include "platform/SysCalls.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/ImmutableFlags.h"

namespace vt {
namespace {

int Result(int rc) { return rc == 0 ? 0 : errno; }

TEntryInfo InfoOf(const struct stat& st) {
  return {{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)},
          static_cast<std::uint64_t>(st.st_size),
          S_ISREG(st.st_mode),
          static_cast<std::uint32_t>(st.st_mode),
          static_cast<std::uint64_t>(st.st_nlink),
          static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// The kernel tells a lease holder of an opener by a signal, SIGIO unless set
// otherwise, and SIGIO ends a process that does not handle it: SIGURG is
// ignored unless a handler is installed, and the lease state is read instead.
constexpr int kLeaseSignal = SIGURG;

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
  int Exchange(int dirFd, const char* first, const char* second) override {
    return Result(::renameat2(dirFd, first, dirFd, second, RENAME_EXCHANGE));
  }
  int Link(int dirFd, const char* from, const char* to) override { return Result(::linkat(dirFd, from, dirFd, to, 0)); }
  int Unlink(int dirFd, const char* name) override { return Result(::unlinkat(dirFd, name, 0)); }
  // A write lease is granted only while no one else has the file open; the
  // signal that tells of a breaker is set first, as it is per open file.
  int LeasePlaceholder(TPlaceholderHold& held) override {
    held.Leased = false;
    if (::fcntl(held.Fd, F_SETSIG, kLeaseSignal) != 0) return errno;
    if (::fcntl(held.Fd, F_SETLEASE, F_WRLCK) != 0) return errno == EAGAIN ? EBUSY : errno;
    held.Leased = true;
    return 0;
  }
  bool PlaceholderUntouched(const TPlaceholderHold& held) override {
    // A lease being broken (someone opens the file) reads as a weaker one.
    if (held.Leased && ::fcntl(held.Fd, F_GETLEASE) != F_WRLCK) return false;
    struct stat st {};
    return ::fstat(held.Fd, &st) == 0 && st.st_size == 0 && st.st_nlink == 1;
  }
  int LookAtPlaceholder(const TPlaceholderHold& held, TEntryInfo& info) override {
    struct stat st {};
    if (::fstat(held.Fd, &st) != 0) return errno;
    info = InfoOf(st);
    return 0;
  }
  // Closing the file ends its lease too.
  void ReleasePlaceholder(TPlaceholderHold& held) override {
    if (held.Fd >= 0) ::close(held.Fd);
    held = {};
  }
  int CreateExclusive(int dirFd, const char* name, TPlaceholderHold& held) override {
    held = {};
    held.Fd = ::openat(dirFd, name, O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0600);
    return held.Fd >= 0 ? 0 : errno;
  }
  int CreateEmpty(int dirFd, const char* name) override { return Result(::mknodat(dirFd, name, S_IFREG | 0600, 0)); }
  int Lookup(int dirFd, const char* name, TEntryInfo& info) override {
    return LookWithFlags(dirFd, name, info, FlagSource::LookOnly);
  }
  int LookupKnown(int dirFd, const char* name, TEntryInfo& info) override {
    struct statx stx {};
    constexpr unsigned kWanted = STATX_TYPE | STATX_MODE | STATX_INO | STATX_NLINK | STATX_SIZE | STATX_MTIME;
    if (::statx(dirFd, name, AT_SYMLINK_NOFOLLOW | AT_STATX_DONT_SYNC, kWanted, &stx) != 0) return errno;
    info = {{static_cast<std::uint64_t>(makedev(stx.stx_dev_major, stx.stx_dev_minor)), stx.stx_ino},
            stx.stx_size,
            S_ISREG(stx.stx_mode),
            stx.stx_mode,
            stx.stx_nlink,
            static_cast<std::int64_t>(stx.stx_mtime.tv_sec) * 1000000000 + stx.stx_mtime.tv_nsec};
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
    // NOLINTNEXTLINE(concurrency-mt-unsafe): each DIR* is used by one thread
    while (const dirent* entry = ::readdir(dir)) each(entry->d_name);
    const int error = errno;
    ::closedir(dir);
    return error;
  }
};

}  // namespace

int LookAtPath(const char* path, TEntryInfo& info) {
  struct stat st {};
  if (::stat(path, &st) != 0) return errno;
  info = InfoOf(st);
  return 0;
}

int LookAtEntry(const char* path, TEntryInfo& info) {
  struct stat st {};
  if (::lstat(path, &st) != 0) return errno;
  info = InfoOf(st);
  return 0;
}

ISysCalls& PosixSysCalls() {
  static TPosixSysCalls calls;
  return calls;
}

}  // namespace vt
