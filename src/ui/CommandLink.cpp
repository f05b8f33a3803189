#include "ui/CommandLink.h"

#include <QAbstractButton>
#include <QAction>
#include <QEvent>

namespace vt {
namespace {

// Carries an explicit setEnabled on the button over to the action.
class TEnabledMirror : public QObject {
 public:
  TEnabledMirror(QAbstractButton* button, QAction* action) : QObject(button), Button_(button), Action_(action) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == Button_ && event->type() == QEvent::EnabledChange) {
      // Only the button's own state counts, not that of a disabled parent.
      const bool enabled = !Button_->testAttribute(Qt::WA_ForceDisabled);
      if (Action_->isEnabled() != enabled) Action_->setEnabled(enabled);
    }
    return false;
  }

 private:
  QAbstractButton* Button_;
  QAction* Action_;
};

}  // namespace

void LinkButtonToAction(QAbstractButton* button, QAction* action) {
  button->setEnabled(action->isEnabled());
  QObject::connect(action, &QAction::changed, button, [button, action] {
    if (button->testAttribute(Qt::WA_ForceDisabled) == action->isEnabled()) button->setEnabled(action->isEnabled());
  });
  QObject::connect(button, &QAbstractButton::clicked, action, [action] { action->trigger(); });
  button->installEventFilter(new TEnabledMirror(button, action));
}

}  // namespace vt
