#pragma once
// The text the user sees for a system error, as the I/O error texts read.
#include <string>

namespace vt {

std::string SysErrorText(int error);
// The system's own description of an error (strerror's), safe on any thread.
std::string SystemMessage(int error);

}  // namespace vt
