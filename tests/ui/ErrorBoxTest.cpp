// The standard error box for errors that no handler handles itself.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "UiTestApp.h"
#include "browse/ApplicationError.h"
#include "ui/ErrorBox.h"

namespace vt {
namespace {

TEST(ErrorBox, TitledWithTheApplicationErrorIconOneOkButton) {
  const auto box = MakeErrorBox("Cannot open file /tmp/x.vtr");
  EXPECT_EQ(box->windowTitle(), "Veltrane");
  EXPECT_EQ(box->icon(), QMessageBox::Critical);
  EXPECT_EQ(box->text(), "Cannot open file /tmp/x.vtr.");
  ASSERT_EQ(box->buttons().size(), 1);
  EXPECT_EQ(box->standardButton(box->buttons()[0]), QMessageBox::Ok);
  EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::Ok));
}

TEST(ErrorBox, AppendsTheFullStopToEveryText) {
  const struct {
    const char* Text;
    const char* Shown;
  } cases[] = {{"File not found", "File not found."},
               {"I/O error 39", "I/O error 39."},
               {"Stream read error", "Stream read error."},
               {"", "."}};
  for (const auto& c : cases) EXPECT_EQ(ErrorBoxText(c.Text), c.Shown);
  // Shown as typed: no markup is read from a file name.
  EXPECT_EQ(MakeErrorBox("Cannot create file <b>x</b>")->textFormat(), Qt::PlainText);
}

TEST(ErrorBox, ReportedErrorsGoToTheBoxAndTheProgramCarriesOn) {
  InstallErrorBox();
  QStringList shown;
  QTimer closer;
  closer.setInterval(10);
  QObject::connect(&closer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    shown << box->windowTitle() + "|" + box->text();
    box->button(QMessageBox::Ok)->click();
  });
  closer.start();
  ReportApplicationError("File access denied");
  ReportApplicationError("Invalid filename");
  closer.stop();
  EXPECT_EQ(shown, (QStringList{"Veltrane|File access denied.", "Veltrane|Invalid filename."}));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace vt
