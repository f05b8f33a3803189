#include "platform/ImmutableFlags.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <optional>

namespace vt {
namespace {

constexpr std::uint64_t kStopFlags = STATX_ATTR_IMMUTABLE | STATX_ATTR_APPEND;

// The last volume found without inode flags, per thread: a listing of a FUSE
// volume opens one file to learn that, not every file.
thread_local std::optional<std::uint64_t> gFlaglessDevice;

bool FlaggedThroughIoctl(int dirFd, const char* name, std::uint64_t device) {
  if (gFlaglessDevice == device) return false;
  const int fd = ::openat(dirFd, name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  const bool read = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  const int error = errno;
  ::close(fd);
  if (read) return (flags & (FS_IMMUTABLE_FL | FS_APPEND_FL)) != 0;
  if (error == ENOTTY || error == EOPNOTSUPP || error == ENOSYS || error == EINVAL) gFlaglessDevice = device;
  return false;
}

constexpr unsigned kWanted = STATX_TYPE | STATX_MODE | STATX_INO | STATX_SIZE | STATX_NLINK | STATX_MTIME;

void TakeLook(const struct statx& sx, TEntryInfo& info) {
  info = {};
  info.Id.Device = makedev(sx.stx_dev_major, sx.stx_dev_minor);
  info.Id.Inode = sx.stx_ino;
  info.Size = sx.stx_size;
  info.Mode = sx.stx_mode;
  info.Links = sx.stx_nlink;
  info.MtimeNs = static_cast<std::int64_t>(sx.stx_mtime.tv_sec) * 1000000000 + sx.stx_mtime.tv_nsec;
  info.Regular = S_ISREG(sx.stx_mode);
}

bool FlagsReported(const struct statx& sx) { return (sx.stx_attributes_mask & kStopFlags) != 0; }

}  // namespace

int LookWithFlags(int dirFd, const char* name, TEntryInfo& info, FlagSource source) {
  struct statx sx {};
  if (::statx(dirFd, name, AT_SYMLINK_NOFOLLOW, kWanted, &sx) != 0) return errno;
  TakeLook(sx, info);
  if (!info.Regular) return 0;
  if (FlagsReported(sx))
    info.Immutable = (sx.stx_attributes & kStopFlags) != 0;
  else if (source == FlagSource::OpenWhereNeeded)
    info.Immutable = FlaggedThroughIoctl(dirFd, name, info.Id.Device);
  return 0;
}

int LookWithFlags(int fd, TEntryInfo& info) {
  struct statx sx {};
  if (::statx(fd, "", AT_EMPTY_PATH, kWanted, &sx) != 0) return errno;
  TakeLook(sx, info);
  if (!info.Regular) return 0;
  if (FlagsReported(sx)) {
    info.Immutable = (sx.stx_attributes & kStopFlags) != 0;
  } else if (gFlaglessDevice != info.Id.Device) {
    int flags = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0)
      info.Immutable = (flags & (FS_IMMUTABLE_FL | FS_APPEND_FL)) != 0;
    else if (errno == ENOTTY || errno == EOPNOTSUPP || errno == ENOSYS || errno == EINVAL)
      gFlaglessDevice = info.Id.Device;
  }
  return 0;
}

}  // namespace vt
