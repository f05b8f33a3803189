#include <sys/stat.h>

#include "platform/FolderRenamer.h"

namespace vt {

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace vt
