#include "platform/SysErrorText.h"

#include <cerrno>
#include <cstring>

namespace vt {

std::string SysErrorText(int error) {
  switch (error) {
    case ENOENT: return "File not found";
    case ENOTDIR:
    case ENAMETOOLONG: return "Invalid filename";
    case EMFILE:
    case ENFILE: return "Too many open files";
    case EACCES:
    case EPERM: return "File access denied";
    default: return "I/O error " + std::to_string(error);
  }
}

std::string SystemMessage(int error) {
  char buffer[256];
  return ::strerror_r(error, buffer, sizeof buffer);
}

}  // namespace vt
