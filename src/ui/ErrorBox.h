#pragma once
// The application's standard error box for errors a handler does not handle
// itself: titled with the application title, error icon, one OK button, the
// error's text with "." appended. The program carries on after it.
#include <QString>
#include <memory>

class QMessageBox;

namespace vt {

QString ErrorBoxText(const QString& text);
std::unique_ptr<QMessageBox> MakeErrorBox(const QString& text);
// Shows the box modally and returns when it is closed.
void ShowErrorBox(const QString& text);
// Makes ShowErrorBox the handler of every reported application error.
void InstallErrorBox();

}  // namespace vt
