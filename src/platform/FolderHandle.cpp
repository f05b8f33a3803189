#include "platform/FolderHandle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/PathSeparator.h"

namespace vt {
namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

}  // namespace

TFolderHandle::~TFolderHandle() { Close(); }

TFolderHandle::TFolderHandle(TFolderHandle&& other) noexcept
    : Fd_(std::exchange(other.Fd_, -1)), Id_(other.Id_), Path_(std::move(other.Path_)) {}

TFolderHandle& TFolderHandle::operator=(TFolderHandle&& other) noexcept {
  if (this != &other) {
    Close();
    Fd_ = std::exchange(other.Fd_, -1);
    Id_ = other.Id_;
    Path_ = std::move(other.Path_);
  }
  return *this;
}

void TFolderHandle::Close() {
  if (Fd_ >= 0) ::close(Fd_);
  Fd_ = -1;
}

int TFolderHandle::Adopt(int fd, std::string path) {
  if (fd < 0) return errno;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int error = errno;
    ::close(fd);
    return error;
  }
  Close();
  Fd_ = fd;
  Id_ = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
  Path_ = WithSlash(std::move(path));
  return 0;
}

int TFolderHandle::Open(const std::string& path, TFolderHandle& out) {
  return out.Adopt(::open(path.empty() ? "." : path.c_str(), kFolderFlags), path.empty() ? "./" : path);
}

int TFolderHandle::OpenStepwise(const std::string& path, TFolderHandle& out) {
  const bool absolute = !path.empty() && path.front() == '/';
  int fd = ::open(absolute ? "/" : ".", kFolderFlags);
  if (fd < 0) return errno;
  for (std::size_t at = absolute ? 1 : 0; at < path.size();) {
    std::size_t end = path.find('/', at);
    if (end == std::string::npos) end = path.size();
    const std::string name = path.substr(at, end - at);
    int error = name.empty() || name == "." || name == ".." ? ELOOP : 0;
    const int next = error != 0 ? -1 : ::openat(fd, name.c_str(), kFolderFlags | O_NOFOLLOW);
    if (next < 0 && error == 0) {
      error = errno;
      struct stat st {};
      if (error == ENOTDIR && ::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode))
        error = ELOOP;
    }
    ::close(fd);
    if (next < 0) return error;
    fd = next;
    at = end + 1;
  }
  return out.Adopt(fd, path.empty() ? "./" : path);
}

int TFolderHandle::OpenSub(std::string_view name, const TEntryId& listed, TFolderHandle& out) const {
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string_view::npos) return EINVAL;
  const std::string text(name);
  TFolderHandle opened;
  if (const int error = opened.Adopt(::openat(Fd_, text.c_str(), kFolderFlags | O_NOFOLLOW), Path_ + text))
    return error;
  if (opened.Id_.Device != listed.Device || opened.Id_.Inode != listed.Inode) return ESTALE;
  out = std::move(opened);
  return 0;
}

int TFolderHandle::OpenRelative(std::string_view relative, TFolderHandle& out) const {
  const std::string text(relative);
  return out.Adopt(::openat(Fd_, text.empty() ? "." : text.c_str(), kFolderFlags), Path_ + text);
}

bool IsFolderGone(int error) { return error == ENOENT || error == ELOOP || error == ENOTDIR || error == ESTALE; }

}  // namespace vt
