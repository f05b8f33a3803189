#include "ui/FrmAbout.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "Version.h"
#include "ui/ButtonImages.h"
#include "ui/WindowFont.h"

namespace vt {
namespace {

QLabel* MakeAboutLabel(QWidget* parent, const char* name, const QString& text, QRect geometry) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  label->setGeometry(geometry);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

void SetTextColor(QLabel* label, const QColor& color) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, color);
  label->setPalette(palette);
}

}  // namespace

TFrmAbout::TFrmAbout(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("FrmAbout");
  setWindowTitle("About Veltrane");
  setFont(WindowFont());
  setFixedSize(215, 95);
  setWindowIcon(QIcon(ProgramIconImage()));

  // Creation order is drawing order: later labels lie over earlier ones.
  Image1 = MakeAboutLabel(this, "Image1", QString(), {6, 2, 33, 33});
  Image1->setPixmap(ProgramIconImage());

  // The yellow copy shows as a one-pixel highlight below and right of the black title.
  Label1 = MakeAboutLabel(this, "Label1", "Veltrane", {52, 2, 88, 20});
  Label1->setFont(AboutTitleFont());
  SetTextColor(Label1, Qt::yellow);
  Label1->setAutoFillBackground(true);
  Label2 = MakeAboutLabel(this, "Label2", "Veltrane", {51, 1, 88, 20});
  Label2->setFont(AboutTitleFont());
  SetTextColor(Label2, Qt::black);
  Label2->setAutoFillBackground(false);

  LblVersion = MakeAboutLabel(this, "LblVersion", kVersion, {148, 7, 24, 13});
  Label4 = MakeAboutLabel(this, "Label4", kAuthorLine, {52, 26, 155, 13});
  Label5 = MakeAboutLabel(this, "Label5", kContactLine, {52, 40, 155, 13});

  BitBtn1 = new QPushButton("OK", this);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn1->setGeometry(74, 66, 75, 25);
  BitBtn1->setIcon(ButtonIcon(OkGlyphImage()));
  BitBtn1->setIconSize({16, 16});
  BitBtn1->setDefault(true);
  BitBtn1->setAutoDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, &TFrmAbout::BitBtn1Click);
  setFocusProxy(BitBtn1);
}

void TFrmAbout::BitBtn1Click() { accept(); }

void TFrmAbout::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (const QScreen* screen = this->screen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  BitBtn1->setFocus();
}

void TFrmAbout::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace vt
