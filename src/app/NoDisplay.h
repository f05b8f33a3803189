#pragma once
// Starting without a display: one clear line and status 1, instead of Qt's
// abort and its advice to reinstall.
#include <QString>
#include <QtGlobal>
#include <vector>

namespace vt {

inline constexpr char kNoDisplayMessage[] =
    "veltrane: needs a graphical session (no X11 or Wayland display found); "
    "veltrane-cli works in a terminal";
inline constexpr int kNoDisplayExit = 1;

// Prints kNoDisplayMessage and returns kNoDisplayExit.
int ReportNoDisplay();

// While it lives, Qt's messages are held back and a fatal one (no platform
// plugin could connect, e.g. a DISPLAY whose server is gone) ends the program
// with kNoDisplayMessage. Held messages are passed on when it goes.
class TNoDisplayGuard {
 public:
  TNoDisplayGuard();
  ~TNoDisplayGuard();
  TNoDisplayGuard(const TNoDisplayGuard&) = delete;
  TNoDisplayGuard& operator=(const TNoDisplayGuard&) = delete;

 private:
  QtMessageHandler Previous_;
};

}  // namespace vt
