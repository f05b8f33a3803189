#pragma once
// Names a volume refuses, foreseen before the rename: a simulation tells the
// truth about them, and a pass does not ask the kernel for what it refuses.
#include <cstdint>
#include <string_view>

#include "platform/Volumes.h"

namespace vt {

enum class TNameRefusal : std::uint8_t {
  None,
  ReservedChar,        // Linux: "/" or NUL; Windows rules also " * : < > ? \ |
  ControlChar,         // Windows rules: 1 to 31
  TrailingDotOrSpace,  // Windows rules
  TooLong,             // Linux: over 255 bytes; Windows rules: over 255 UTF-16 units
};

TNameRefusal VolumeRefusal(std::string_view name, TNameRules rules);

}  // namespace vt
