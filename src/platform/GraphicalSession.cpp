#include "platform/GraphicalSession.h"

#include <cstdlib>

namespace vt {

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

bool GraphicalSessionNamed() {
  return Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("WAYLAND_SOCKET") || Set("QT_QPA_PLATFORM");
}

}  // namespace vt
