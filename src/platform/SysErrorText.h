#pragma once
// The text the user sees for a system error, as the I/O error texts read.
#include <string>

namespace vt {

std::string SysErrorText(int error);

}  // namespace vt
