#pragma once
// Whether the environment names a display the window could open on.
namespace vt {

// True when an X11 or Wayland display is named, the login session is a
// graphical one, or a Qt platform is chosen explicitly (offscreen, vnc, ...),
// which then decides for itself.
bool GraphicalSessionNamed();

}  // namespace vt
