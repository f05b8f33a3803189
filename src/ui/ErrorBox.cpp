#include "ui/ErrorBox.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "browse/ApplicationError.h"

namespace vt {

QString ErrorBoxText(const QString& text) { return text + "."; }

std::unique_ptr<QMessageBox> MakeErrorBox(const QString& text) {
  auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, QCoreApplication::applicationName(),
                                           ErrorBoxText(text), QMessageBox::Ok);
  box->setObjectName("ErrorBox");
  box->setTextFormat(Qt::PlainText);
  box->setDefaultButton(QMessageBox::Ok);
  box->setEscapeButton(QMessageBox::Ok);
  return box;
}

void ShowErrorBox(const QString& text) { MakeErrorBox(text)->exec(); }

void InstallErrorBox() { SetApplicationErrorHandler(&ShowErrorBox); }

}  // namespace vt
