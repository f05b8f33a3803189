#include "ModalScript.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

namespace vt::test {

TModalScript& TModalScript::Then(TStep step) {
  Steps_.push_back(std::move(step));
  return *this;
}

void TModalScript::Run(const std::function<void()>& action) {
  QTimer poller;
  poller.setInterval(5);
  QObject::connect(&poller, &QTimer::timeout, [this] { Poll(); });
  poller.start();
  action();
}

void TModalScript::Poll() {
  if (Last_ && !Last_->isVisible()) Last_ = nullptr;
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || !modal->isVisible() || modal == Last_) return;
  Last_ = modal;
  if (auto* box = qobject_cast<QMessageBox*>(modal))
    Seen_ << box->windowTitle() + "|" + box->text();
  else
    Seen_ << "dialog:" + modal->objectName();
  if (Steps_.empty()) {
    ++Unexpected_;
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    return;
  }
  TStep step = std::move(Steps_.front());
  Steps_.pop_front();
  // Later, so that the window's own exec() has started its loop.
  QTimer::singleShot(0, modal, [step, modal] { step(modal); });
}

// A box's button: Qt's standard one, or the one captioned as the program's own boxes caption it.
QAbstractButton* ButtonOf(QMessageBox& box, int standardButton) {
  if (QAbstractButton* button = box.button(QMessageBox::StandardButton(standardButton))) return button;
  QString caption;
  switch (standardButton) {
    case QMessageBox::Yes: caption = "&Yes"; break;
    case QMessageBox::No: caption = "&No"; break;
    case QMessageBox::Cancel: caption = "Cancel"; break;
    case QMessageBox::Ok: caption = "OK"; break;
    default: return nullptr;
  }
  for (QAbstractButton* button : box.buttons())
    if (button->text() == caption) return button;
  return nullptr;
}

TModalScript::TStep Press(int standardButton) {
  return [standardButton](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (QAbstractButton* button = box ? ButtonOf(*box, standardButton) : nullptr)
      button->click();
    else if (auto* dialog = qobject_cast<QDialog*>(modal))
      dialog->reject();
  };
}

TModalScript::TStep ChooseFile(const QString& path) {
  return [path](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (!dialog) return;
    // Typed into the name field, as a user does.
    if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit"))
      name->setText(path);
    else
      dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept();  // as the Open or Save button does
  };
}

TModalScript::TStep CancelDialog() {
  return [](QWidget* modal) {
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
  };
}

}  // namespace vt::test
