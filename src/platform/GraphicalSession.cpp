#include "platform/GraphicalSession.h"

#include <cstdlib>
#include <string_view>

namespace vt {

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);  // NOLINT(concurrency-mt-unsafe): nothing sets the environment
  return value != nullptr && *value != '\0';
}

bool Equals(const char* name, std::string_view expected) {
  const char* value = std::getenv(name);  // NOLINT(concurrency-mt-unsafe): nothing sets the environment
  return value != nullptr && value == expected;
}

}  // namespace

bool GraphicalSessionNamed() {
  // A desktop session may leave the Wayland socket to its default name.
  return Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("WAYLAND_SOCKET") || Set("QT_QPA_PLATFORM") ||
         Equals("XDG_SESSION_TYPE", "wayland") || Equals("XDG_SESSION_TYPE", "x11");
}

}  // namespace vt
