#include "platform/SysCalls.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
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
          static_cast<std::uint64_t>(st.st_nlink)};
}

bool IsUntouchedPlaceholder(const struct stat& st, const TEntryInfo& placeholder) {
  const TEntryInfo now = InfoOf(st);
  return now.Id == placeholder.Id && now.Regular && now.Size == 0 && now.Links == 1;
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
  int Link(int dirFd, const char* from, const char* to) override { return Result(::linkat(dirFd, from, dirFd, to, 0)); }
  int Unlink(int dirFd, const char* name) override { return Result(::unlinkat(dirFd, name, 0)); }
  int ClaimPlaceholder(int dirFd, const char* name, const TEntryInfo& placeholder, TPlaceholderHold& held) override {
    held.Fd = ::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    held.Leased = false;
    if (held.Fd < 0) return errno == ENOENT ? EBUSY : errno;
    struct stat st {};
    if (::fstat(held.Fd, &st) != 0 || !IsUntouchedPlaceholder(st, placeholder)) {
      ReleasePlaceholder(held);
      return EBUSY;
    }
    // A write lease is granted only while no one else has the file open for
    // writing; a volume that grants none (EINVAL, ENOSYS) gets the look alone.
    if (::fcntl(held.Fd, F_SETSIG, kLeaseSignal) == 0) {
      if (::fcntl(held.Fd, F_SETLEASE, F_WRLCK) == 0) {
        held.Leased = true;
      } else if (errno == EAGAIN || errno == EBUSY) {
        ReleasePlaceholder(held);
        return EBUSY;
      }
    }
    return 0;
  }
  bool PlaceholderUntouched(const TPlaceholderHold& held) override {
    // A lease being broken (someone opens the file) reads as a weaker one.
    if (held.Leased && ::fcntl(held.Fd, F_GETLEASE) != F_WRLCK) return false;
    struct stat st {};
    return ::fstat(held.Fd, &st) == 0 && st.st_size == 0 && st.st_nlink == 1;
  }
  void ReleasePlaceholder(TPlaceholderHold& held) override {
    if (held.Fd < 0) return;
    if (held.Leased) ::fcntl(held.Fd, F_SETLEASE, F_UNLCK);
    ::close(held.Fd);
    held = {};
  }
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
    return LookWithFlags(dirFd, name, info, FlagSource::LookOnly);
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

ISysCalls& PosixSysCalls() {
  static TPosixSysCalls calls;
  return calls;
}

}  // namespace vt
