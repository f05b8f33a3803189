#pragma once
// The window's three kinds of message box: error and information (one OK
// button) and confirmation ("&Yes", "&No", "Cancel"; Enter answers Yes, Escape
// or closing the box Cancel). Each is modal, centred on the screen and shows a
// text of the program's table.
#include <QString>
#include <memory>

#include "engine/SettingsChecks.h"

class QMessageBox;
class QWidget;

namespace vt {

QString MessageBoxTitle(TMessageKind kind);
// objectName of a box of the kind, for tests and tools that look for it.
QString MessageBoxName(TMessageKind kind);

std::unique_ptr<QMessageBox> MakeMessageBox(TMessageKind kind, const QString& text);
// Shows the box modally; the answer is Yes or Cancel for a box without a No.
TAnswer ShowMessageBox(TMessageKind kind, const QString& text);
// A message of the table, as the checks before a pass give it.
TAnswer ShowCheckMessage(const TCheckMessage& message);

}  // namespace vt
