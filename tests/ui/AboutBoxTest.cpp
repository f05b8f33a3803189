// Start-up and the About box: the application's names, the two windows and the
// modal box that the Help menu shows as often as asked.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "UiTestApp.h"
#include "ui/Form1.h"
#include "ui/FrmAbout.h"
#include "ui/Startup.h"

namespace vt {
namespace {

using test::WaitUntil;

TEST(Startup, NamesTheApplicationAndItsHelpFile) {
  EXPECT_EQ(QApplication::applicationName(), "Veltrane");
  EXPECT_EQ(QApplication::applicationDisplayName(), "Veltrane");
  EXPECT_EQ(qApp->property(kHelpFileProperty).toString(), "Veltrane.hlp");
}

TEST(Startup, MakesTheMainWindowThenTheHiddenAboutBox) {
  const TApplicationWindows windows = CreateApplicationWindows();
  ASSERT_TRUE(windows.Form1);
  ASSERT_TRUE(windows.FrmAbout);
  EXPECT_EQ(windows.Form1->objectName(), "Form1");
  EXPECT_EQ(windows.FrmAbout->objectName(), "FrmAbout");
  // The one top-level window of its name, where the Help menu looks for it.
  int named = 0;
  for (const QWidget* window : QApplication::topLevelWidgets()) named += window->objectName() == "FrmAbout";
  EXPECT_EQ(named, 1);
  EXPECT_FALSE(windows.Form1->isVisible());
  EXPECT_FALSE(windows.FrmAbout->isVisible());
  EXPECT_TRUE(windows.FrmAbout->isWindow());
}

TEST(FrmAbout, ContentOfTheBox) {
  TFrmAbout about;
  EXPECT_EQ(about.windowTitle(), "About Veltrane");
  EXPECT_EQ(about.size(), QSize(215, 95));
  EXPECT_EQ(about.minimumSize(), about.maximumSize());
  EXPECT_FALSE(about.windowFlags() & (Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                      Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_EQ(about.Label1->text(), "Veltrane");
  EXPECT_EQ(about.Label2->text(), "Veltrane");
  EXPECT_EQ(about.LblVersion->text(), "1.2.0");
  EXPECT_FALSE(about.Label4->text().isEmpty());
  EXPECT_TRUE(about.Label5->text().contains('@'));
  EXPECT_EQ(about.BitBtn1->text(), "OK");
  EXPECT_TRUE(about.BitBtn1->isDefault());
  EXPECT_FALSE(about.BitBtn1->icon().isNull());
  ASSERT_FALSE(about.Image1->pixmap().isNull());
  EXPECT_EQ(about.Image1->pixmap().size(), QSize(32, 32));
  EXPECT_EQ(about.Image1->geometry(), QRect(6, 2, 33, 33));
  EXPECT_EQ(about.BitBtn1->geometry(), QRect(74, 66, 75, 25));
}

TEST(FrmAbout, BlackTitleLiesOnePixelUpLeftOverTheYellowCopy) {
  TFrmAbout about;
  EXPECT_EQ(about.Label1->geometry(), QRect(52, 2, 88, 20));
  EXPECT_EQ(about.Label2->geometry(), QRect(51, 1, 88, 20));
  EXPECT_EQ(about.Label1->palette().color(QPalette::WindowText), QColor(Qt::yellow));
  EXPECT_EQ(about.Label2->palette().color(QPalette::WindowText), QColor(Qt::black));
  EXPECT_TRUE(about.Label1->autoFillBackground());
  EXPECT_FALSE(about.Label2->autoFillBackground());
  for (QLabel* title : {about.Label1, about.Label2}) {
    EXPECT_TRUE(title->font().bold());
    EXPECT_TRUE(title->font().italic());
    EXPECT_EQ(title->font().pixelSize(), 16);
  }
  // The black copy is drawn after, and so over, the yellow one.
  const QObjectList& children = about.children();
  EXPECT_LT(children.indexOf(about.Label1), children.indexOf(about.Label2));
  // Both letters show: black ones, and the yellow highlight next to them.
  about.show();
  ASSERT_TRUE(WaitUntil([&] { return about.isVisible(); }));
  const QImage picture = about.grab(QRect(51, 1, 90, 22)).toImage();
  bool black = false, yellow = false;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      const QColor c = picture.pixelColor(x, y);
      black |= c.red() < 40 && c.green() < 40 && c.blue() < 40;
      yellow |= c.red() > 200 && c.green() > 200 && c.blue() < 60;
    }
  EXPECT_TRUE(black);
  EXPECT_TRUE(yellow);
}

TEST(FrmAbout, EnterAndEscapeCloseIt) {
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    SCOPED_TRACE(QKeySequence(key).toString().toStdString());
    TFrmAbout about;
    about.show();
    ASSERT_TRUE(WaitUntil([&] { return about.isVisible(); }));
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : &about, &press);
    EXPECT_TRUE(WaitUntil([&] { return !about.isVisible(); }));
    EXPECT_EQ(about.result(), QDialog::Accepted);
  }
}

TEST(FrmAbout, AboutItemShowsTheSameBoxModallyTwiceCentred) {
  const TApplicationWindows windows = CreateApplicationWindows();
  TForm1& form = *windows.Form1;
  form.show();
  struct Seen {
    QWidget* Modal = nullptr;
    QPoint Centre;
    QString Version;
  };
  std::vector<Seen> seen;
  for (int round = 0; round < 2; ++round) {
    // Closes the box with Enter once it is the modal window.
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal || !modal->isVisible()) return;
      auto* about = qobject_cast<TFrmAbout*>(modal);
      seen.push_back({modal, modal->frameGeometry().center(), about ? about->LblVersion->text() : QString()});
      closer.stop();
      QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
      QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : modal, &enter);
    });
    closer.start();
    test::Named<QAction>(form, "AboutItem")->trigger();  // returns when the box has closed
    EXPECT_FALSE(windows.FrmAbout->isVisible());
  }
  ASSERT_EQ(seen.size(), 2u);
  const QPoint centre = windows.FrmAbout->screen()->availableGeometry().center();
  for (const Seen& s : seen) {
    EXPECT_EQ(s.Modal, windows.FrmAbout.get());
    EXPECT_LE((s.Centre - centre).manhattanLength(), 2);
    EXPECT_EQ(s.Version, "1.2.0");
  }
}

TEST(FrmAbout, MovedAwayItComesBackCentred) {
  TFrmAbout about;
  about.show();
  ASSERT_TRUE(WaitUntil([&] { return about.isVisible(); }));
  about.hide();
  about.move(0, 0);
  about.show();
  ASSERT_TRUE(WaitUntil([&] { return about.isVisible(); }));
  const QPoint centre = about.screen()->availableGeometry().center();
  EXPECT_LE((about.frameGeometry().center() - centre).manhattanLength(), 2);
}

}  // namespace
}  // namespace vt
