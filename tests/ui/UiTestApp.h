#pragma once
// The application object of the widget tests, set up as start-up does it.
#include <QObject>
#include <QString>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <ostream>

class QWidget;

namespace vt::test {

// Runs the event loop until done() holds or the time is up; returns done().
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10));
// The nearest widget named by the window at or above w (Qt's inner widgets, such
// as a tab bar, carry no name or one of Qt's own).
QString NamedAncestor(const QWidget* w);
// A control of the window by its objectName, the window's face to tests and
// to screen readers. A name no control carries ends the test program.
template <class T>
T* Named(const QObject& window, const QString& name) {
  T* const found = window.findChild<T*>(name);
  if (!found) {
    std::fprintf(stderr, "no control named %s\n", qPrintable(name));
    std::abort();
  }
  return found;
}

// The XDG_STATE_HOME of the whole test program, a temporary folder of its own:
// the window's records never go into the real home. Ends with "/".
QString StateHome();
// The records' folder inside it.
QString RecordsFolderForTests();

}  // namespace vt::test

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
