#pragma once
// The application object of the widget tests, set up as start-up does it.
#include <QString>
#include <chrono>
#include <functional>
#include <ostream>

class QWidget;

namespace vt::test {

// Runs the event loop until done() holds or the time is up; returns done().
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10));
// The nearest widget named by the window at or above w (Qt's inner widgets, such
// as a tab bar, carry no name or one of Qt's own).
QString NamedAncestor(const QWidget* w);

}  // namespace vt::test

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
