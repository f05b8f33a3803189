#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include "engine/Messages.h"
#include "engine/SettingsChecks.h"

namespace vt {
namespace {

// Centred on the screen once the box has taken its size, which it does as it is shown.
class TCenteredMessageBox : public QMessageBox {
 protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
};

}  // namespace

QString MessageBoxTitle(TMessageKind kind) {
  switch (kind) {
    case TMessageKind::Error: return "Error";
    case TMessageKind::Information: return "Information";
    case TMessageKind::Confirmation: return "Confirm";
  }
  return {};
}

QString MessageBoxName(TMessageKind kind) {
  switch (kind) {
    case TMessageKind::Error: return "MessageBoxError";
    case TMessageKind::Information: return "MessageBoxInformation";
    case TMessageKind::Confirmation: return "MessageBoxConfirm";
  }
  return {};
}

std::unique_ptr<QMessageBox> MakeMessageBox(TMessageKind kind, const QString& text) {
  // The active window owns the box, so that the focus goes back to it afterwards.
  std::unique_ptr<QMessageBox> box = std::make_unique<TCenteredMessageBox>();
  if (QWidget* owner = QApplication::activeWindow()) {
    box->setParent(owner, box->windowFlags());
    box->setWindowModality(Qt::ApplicationModal);
  }
  box->setObjectName(MessageBoxName(kind));
  box->setWindowTitle(MessageBoxTitle(kind));
  box->setTextFormat(Qt::PlainText);
  box->setText(text);
  // Captions as written, whatever translation Qt would give its standard buttons.
  if (kind == TMessageKind::Confirmation) {
    box->setIcon(QMessageBox::Question);
    QPushButton* yes = box->addButton("&Yes", QMessageBox::YesRole);
    box->addButton("&No", QMessageBox::NoRole);
    QPushButton* cancel = box->addButton("Cancel", QMessageBox::RejectRole);
    box->setDefaultButton(yes);
    box->setEscapeButton(cancel);
  } else {
    box->setIcon(kind == TMessageKind::Error ? QMessageBox::Critical : QMessageBox::Information);
    QPushButton* ok = box->addButton("OK", QMessageBox::AcceptRole);
    box->setDefaultButton(ok);
    box->setEscapeButton(ok);
  }
  return box;
}

TAnswer ShowMessageBox(TMessageKind kind, const QString& text) {
  const std::unique_ptr<QMessageBox> box = MakeMessageBox(kind, text);
  box->exec();
  QAbstractButton* clicked = box->clickedButton();
  if (!clicked) return TAnswer::Cancel;
  switch (box->buttonRole(clicked)) {
    case QMessageBox::YesRole:
    case QMessageBox::AcceptRole: return TAnswer::Yes;
    case QMessageBox::NoRole: return TAnswer::No;
    default: return TAnswer::Cancel;
  }
}

TAnswer ShowCheckMessage(const TCheckMessage& message) {
  if (message.Regex) {
    const TRegexError& error = *message.Regex;
    const QString what = error.Part == TRegexError::TPart::Pattern ? QStringLiteral("The regular expression")
                                                                   : QStringLiteral("The replacement");
    return ShowMessageBox(message.Kind, QStringLiteral("%1 does not compile at position %2:\n%3")
                                            .arg(what)
                                            .arg(error.Offset)
                                            .arg(QString::fromUtf8(error.Message)));
  }
  return ShowMessageBox(message.Kind, QString::fromStdString(CheckMessageText(message)));
}

}  // namespace vt
