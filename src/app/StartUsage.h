#pragma once
// What `veltrane --help` and `veltrane --version` print.
#include <string>

namespace vt {

std::string StartUsageText();
std::string StartVersionText();

}  // namespace vt
