#pragma once
// What ThreadSanitizer leaves out in the test programs that run Qt. Qt is not
// built with it, and its own threads (the image conversion and painting pool,
// the file dialog's gatherer) and its event queue synchronise through futexes
// the sanitizer cannot see; so does GLib, whose event loops those threads run
// and which frees at exit in one of them what another one left. Our own code,
// and every handover it makes, is still checked.

namespace vt::test {

inline constexpr const char* kQtThreadSanitizerSuppressions =
    "called_from_lib:libQt6Core.so.6\n"
    "called_from_lib:libQt6Gui.so.6\n"
    "called_from_lib:libQt6Widgets.so.6\n"
    "race:libQt6Core.so.6\n"
    "race:libQt6Gui.so.6\n"
    "race:libQt6Widgets.so.6\n"
    "race:libglib-2.0.so.0\n";

}  // namespace vt::test
