#include "platform/TrustedFolder.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/AppendFile.h"
#include "platform/PathSeparator.h"

namespace vt {
namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// The folder a path's last component sits in; "/" for "/".
std::string Parent(const std::string& path) {
  const std::string bare = WithoutSlash(path);
  const std::size_t slash = bare.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : bare.substr(0, slash);
}

std::optional<TUntrustedFolder> Judge(const struct stat& st, const std::string& path, std::uint32_t uid) {
  if (st.st_uid != uid && st.st_uid != 0)
    return TUntrustedFolder{WithSlash(path), TFolderFault::OwnedByOther, st.st_uid, 0};
  // A sticky folder lets nobody but an entry's owner rename or remove it.
  if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (st.st_mode & S_ISVTX) == 0)
    return TUntrustedFolder{WithSlash(path), TFolderFault::OthersCanWrite, st.st_uid, 0};
  return std::nullopt;
}

TUntrustedFolder CannotCheck(const std::string& path, int error) {
  return TUntrustedFolder{WithSlash(path), TFolderFault::CannotCheck, 0, error};
}

bool SameFolder(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// The folders the path names, from the folder up to home (or "/"), links followed.
std::optional<TUntrustedFolder> JudgeNamedChain(const std::string& folder, const TFolderUser& user,
                                                const struct stat* home) {
  for (std::string path = folder;; path = Parent(path)) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return CannotCheck(path, errno);
    if (auto fault = Judge(st, path, user.Uid)) return fault;
    if ((home != nullptr && SameFolder(st, *home)) || path == "/" || path == ".") return std::nullopt;
  }
}

// The real folders above the one the path leads to, reached through ".." from
// its handle: a link on the way cannot hide a folder others may change.
std::optional<TUntrustedFolder> JudgeRealChain(const std::string& folder, const TFolderUser& user,
                                               const struct stat* home) {
  char* resolved = ::realpath(folder.c_str(), nullptr);
  std::string real = resolved != nullptr ? resolved : folder;
  ::free(resolved);  // NOLINT(cppcoreguidelines-no-malloc): realpath's own memory
  int fd = ::open(folder.c_str(), kFolderFlags);
  if (fd < 0) return CannotCheck(folder, errno);
  std::optional<TUntrustedFolder> fault;
  for (;;) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
      fault = CannotCheck(real, errno);
      break;
    }
    if ((fault = Judge(st, real, user.Uid)) || (home != nullptr && SameFolder(st, *home))) break;
    const int parent = ::openat(fd, "..", kFolderFlags);
    if (parent < 0) {
      fault = CannotCheck(Parent(real), errno);
      break;
    }
    struct stat above {};
    const bool top = ::fstat(parent, &above) == 0 && SameFolder(above, st);
    ::close(fd);
    fd = parent;
    if (top) break;
    real = Parent(real);
  }
  ::close(fd);
  return fault;
}

}  // namespace

std::uint32_t EffectiveUid() { return ::geteuid(); }

TFolderUser CurrentFolderUser() {
  TFolderUser user;
  user.Uid = EffectiveUid();
  std::vector<char> buffer(16384);
  struct passwd entry {};
  struct passwd* found = nullptr;
  if (::getpwuid_r(user.Uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr)
    user.Home = found->pw_dir;
  return user;
}

std::optional<TUntrustedFolder> UntrustedFolder(const std::string& folder, const TFolderUser& user) {
  // What does not exist yet is judged by where it would be made.
  std::string existing = WithoutSlash(folder);
  for (struct stat st{}; ::stat(existing.c_str(), &st) != 0;) {
    if (errno != ENOENT) return CannotCheck(existing, errno);
    const std::string parent = Parent(existing);
    if (parent == existing) return CannotCheck(existing, ENOENT);
    existing = parent;
  }
  struct stat homeStat {};
  const bool haveHome = !user.Home.empty() && ::stat(user.Home.c_str(), &homeStat) == 0;
  const struct stat* home = haveHome ? &homeStat : nullptr;
  if (auto fault = JudgeNamedChain(existing, user, home)) return fault;
  return JudgeRealChain(existing, user, home);
}

bool IsOwnFile(const std::string& folder, const std::string& name, std::uint32_t uid) {
  const int fd = ::open(folder.c_str(), kFolderFlags);
  if (fd < 0) return false;
  struct stat st {};
  const bool own =
      ::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) && st.st_uid == uid;
  ::close(fd);
  return own;
}

namespace {

// The file, opened without following a link, when it is uid's own regular one.
int OpenOwn(const std::string& folder, const std::string& name, std::uint32_t uid, int& fd, struct stat& st) {
  const int dir = ::open(folder.c_str(), kFolderFlags);
  if (dir < 0) return errno;
  fd = ::openat(dir, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  const int openError = errno;
  ::close(dir);
  if (fd < 0) return openError;
  int error = ::fstat(fd, &st) != 0 ? errno : 0;
  if (error == 0 && (!S_ISREG(st.st_mode) || st.st_uid != uid)) error = EPERM;
  if (error != 0) {
    ::close(fd);
    fd = -1;
  }
  return error;
}

}  // namespace

int ReadOwnFile(const std::string& folder, const std::string& name, std::uint32_t uid, std::size_t maxBytes,
                std::string& bytes) {
  bytes.clear();
  int fd = -1;
  struct stat st {};
  if (const int error = OpenOwn(folder, name, uid, fd, st)) return error;
  const int error = ReadOpenFile(fd, maxBytes, bytes);
  ::close(fd);
  return error;
}

int OpenOwnFile(const std::string& folder, const std::string& name, std::uint32_t uid, std::FILE*& file,
                std::uint64_t& size) {
  file = nullptr;
  int fd = -1;
  struct stat st {};
  if (const int error = OpenOwn(folder, name, uid, fd, st)) return error;
  errno = 0;
  file = ::fdopen(fd, "rb");
  if (file == nullptr) {
    const int error = errno != 0 ? errno : EIO;
    ::close(fd);
    return error;
  }
  size = static_cast<std::uint64_t>(st.st_size);
  return 0;
}

}  // namespace vt
