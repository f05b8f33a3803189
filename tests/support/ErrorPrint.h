#pragma once
// A failure as a test's message shows it: code, kind and path.
#include <cstring>
#include <ostream>

#include "engine/Error.h"

namespace vt {

inline std::ostream& operator<<(std::ostream& out, const TError& error) {
  return out << "errno " << error.Code << " (" << std::strerror(error.Code) << "), kind "
             << static_cast<int>(error.Kind) << ", path '" << error.Path << "'";
}

}  // namespace vt
