#pragma once
#include <string_view>

namespace vt {

// The text of --help.
std::string_view UsageText();

}  // namespace vt
