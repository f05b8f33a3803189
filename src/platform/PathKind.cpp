#include "platform/PathKind.h"

#include <sys/stat.h>

namespace vt {

PathKind PathKindOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return PathKind::Missing;
  return S_ISDIR(st.st_mode) ? PathKind::Folder : PathKind::File;
}

}  // namespace vt
