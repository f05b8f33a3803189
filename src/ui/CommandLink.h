#pragma once
// A button and its menu item are one command: the same handler and always the
// same enabled state, whichever of the two is enabled or disabled.
class QAbstractButton;
class QAction;

namespace vt {

void LinkButtonToAction(QAbstractButton* button, QAction* action);

}  // namespace vt
