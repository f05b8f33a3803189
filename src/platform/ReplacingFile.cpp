#include "platform/ReplacingFile.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <random>

namespace vt {
namespace {

int ErrorOf(int rc) { return rc == 0 ? 0 : errno; }

// Where the file is really to be written: a symbolic link is followed, so that
// the link stays and the file it points at is replaced, as a plain write would.
// The rename at the end replaces whatever is then at the name, never following a link.
int ResolveTarget(const std::string& path, TLinkAtTarget links, std::string& target, struct stat& st, bool& exists) {
  target = path;
  exists = false;
  if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
  if (S_ISLNK(st.st_mode)) {
    if (links == TLinkAtTarget::Refuse) return ELOOP;
    const std::unique_ptr<char, decltype(&::free)> real(::realpath(path.c_str(), nullptr), &::free);
    if (!real) return errno;
    target = real.get();
    if (::stat(target.c_str(), &st) != 0) return errno;
  }
  exists = true;
  // Renaming over a folder, a device or a pipe would destroy it, not write to it.
  if (S_ISDIR(st.st_mode)) return EISDIR;
  if (!S_ISREG(st.st_mode)) return EINVAL;
  // A file the user may not write stays as it is, although its folder would let it be replaced.
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return errno;
  return 0;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string RandomTag() {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937_64 generator{std::random_device{}()};
  std::string tag(10, '0');
  for (char& c : tag) c = kLetters[generator() % (sizeof kLetters - 1)];
  return tag;
}

void SyncFolder(const std::string& folder) {
  // Makes the rename itself durable; a folder that cannot be synced loses nothing written.
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

long IReplaceCalls::Write(int fd, const char* bytes, unsigned long count) { return ::write(fd, bytes, count); }
int IReplaceCalls::Sync(int fd) { return ErrorOf(::fsync(fd)); }
int IReplaceCalls::Rename(const char* from, const char* to) { return ErrorOf(::rename(from, to)); }

IReplaceCalls& PosixReplaceCalls() {
  static IReplaceCalls calls;
  return calls;
}

TReplacingFile::~TReplacingFile() {
  if (!Committed_) Discard();
}

int TReplacingFile::Open(const std::string& path, TLinkAtTarget links) {
  Discard();
  struct stat st {};
  bool exists = false;
  if (const int error = ResolveTarget(path, links, Target_, st, exists)) return error;

  const std::string prefix = FolderOf(Target_) + "/.veltrane-save-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string temp = prefix + RandomTag() + ".tmp";
    // 0666 lets the umask decide, as for any new file.
    Fd_ = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (Fd_ >= 0) {
      TempPath_ = std::move(temp);
      break;
    }
    if (errno != EEXIST) return errno;
  }
  if (Fd_ < 0) return EEXIST;
  // The replacement keeps the permissions of the file it replaces.
  if (exists) ::fchmod(Fd_, st.st_mode & 07777);
  Committed_ = false;
  return 0;
}

int TReplacingFile::Write(std::string_view bytes) {
  if (Fd_ < 0) return EBADF;
  while (!bytes.empty()) {
    const long written = Calls_.Write(Fd_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (written == 0) return ENOSPC;  // no progress: the device is full
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

TReplacingFile::TCommitResult TReplacingFile::Commit() {
  if (Fd_ < 0) return {EBADF, TStep::Flush};
  int error = Calls_.Sync(Fd_);
  // close() reports the write errors some file systems give only then (NFS).
  const int closed = ::close(Fd_);
  Fd_ = -1;
  if (!error && closed != 0) error = errno;
  if (error) {
    Discard();
    return {error, TStep::Flush};
  }
  if (const int renamed = Calls_.Rename(TempPath_.c_str(), Target_.c_str())) {
    Discard();
    return {renamed, TStep::Rename};
  }
  Committed_ = true;
  TempPath_.clear();
  SyncFolder(FolderOf(Target_));
  return {};
}

void TReplacingFile::Discard() {
  if (Fd_ >= 0) ::close(Fd_);
  Fd_ = -1;
  if (!TempPath_.empty()) ::unlink(TempPath_.c_str());
  TempPath_.clear();
}

}  // namespace vt
