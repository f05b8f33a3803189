#pragma once
// A file flagged immutable or append-only (chattr +i / +a) for the length of a
// test, the flag taken off again before the test's folder is removed. Not
// every volume keeps such flags, and setting them needs CAP_LINUX_IMMUTABLE:
// Set() says why it could not, for the test to skip with.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace vt::test {

class TInodeFlag {
 public:
  TInodeFlag() = default;
  TInodeFlag(const TInodeFlag&) = delete;
  TInodeFlag& operator=(const TInodeFlag&) = delete;
  ~TInodeFlag() {
    if (!Path_.empty()) Write(Path_, Before_);
  }

  // flag is FS_IMMUTABLE_FL or FS_APPEND_FL; empty on success, else the reason.
  std::string Set(const std::string& path, int flag) {
    int flags = 0;
    if (const int error = Read(path, flags))
      return "the volume keeps no inode flags: " + std::string(std::strerror(error));
    if (const int error = Write(path, flags | flag))
      return "cannot set an inode flag: " + std::string(std::strerror(error));
    Path_ = path;
    Before_ = flags;
    return {};
  }

 private:
  static int Read(const std::string& path, int& flags) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    const int error = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 ? 0 : errno;
    ::close(fd);
    return error;
  }
  static int Write(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    const int error = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0 ? 0 : errno;
    ::close(fd);
    return error;
  }

  std::string Path_;
  int Before_ = 0;
};

}  // namespace vt::test
