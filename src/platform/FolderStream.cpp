#include "platform/FolderStream.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace vt {

TFolderStream ReadFolder(int fd, int& error) {
  // The copy shares the reading position with fd: start from the top, since
  // an earlier listing of the same handle has read to the end.
  const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
  if (copy < 0) {
    error = errno;
    return nullptr;
  }
  DIR* dir = ::fdopendir(copy);
  if (dir == nullptr) {
    error = errno;
    ::close(copy);
    return nullptr;
  }
  ::rewinddir(dir);
  error = 0;
  return TFolderStream(dir);
}

}  // namespace vt
