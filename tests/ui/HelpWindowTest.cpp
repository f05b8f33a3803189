// Help Topics: the help window over the manual compiled into the program.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTextDocument>

#include "ModalScript.h"
#include "UiTestApp.h"
#include "ui/Form1.h"
#include "ui/HelpWindow.h"

namespace vt {
namespace {

using test::Press;
using test::TModalScript;
using test::WaitUntil;

QString Resource(const QString& page) {
  QFile file(QString(kManualRoot) + "/" + page);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList Titles(const QListWidget& list) {
  QStringList titles;
  for (int row = 0; row < list.count(); ++row) titles << list.item(row)->text();
  return titles;
}

TEST(HelpWindow, HelpTopicsOpensTheTopicsListAtTheFirstTopic) {
  TForm1 form;
  form.show();
  form.HelpItem->trigger();
  THelpWindow* help = form.HelpWindow();
  ASSERT_NE(help, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return help->isVisible(); }));
  EXPECT_EQ(help->objectName(), "HelpWindow");
  EXPECT_TRUE(help->isWindow());
  EXPECT_GE(help->LstHelpTopics->count(), 15);
  EXPECT_EQ(help->LstHelpTopics->currentRow(), 0);
  EXPECT_EQ(help->HelpBrowser->documentTitle(), "Getting started");
  // Asked again, the same window comes forward.
  form.HelpItem->trigger();
  EXPECT_EQ(form.HelpWindow(), help);
}

TEST(HelpWindow, TheSearchKeepsTheTopicsHoldingEveryWord) {
  THelpWindow help;
  ASSERT_TRUE(help.LoadManual());
  help.EdHelpSearch->setText("overwritten");
  EXPECT_TRUE(Titles(*help.LstHelpTopics).contains("Getting started"));
  help.EdHelpSearch->setText("HOLIDA~1.JPE");  // a word of one page's text only
  EXPECT_EQ(Titles(*help.LstHelpTopics), QStringList{"Truncate"});
  help.EdHelpSearch->setText("backwards   Trip_");  // every word, any case, blanks between
  EXPECT_EQ(Titles(*help.LstHelpTopics), QStringList{"Number"});
  help.EdHelpSearch->setText("recover zzzqqq");
  EXPECT_EQ(help.LstHelpTopics->count(), 0);
  help.EdHelpSearch->clear();
  EXPECT_EQ(help.LstHelpTopics->count(), static_cast<int>(help.Topics().size()));

  // Choosing a found topic shows it.
  help.EdHelpSearch->setText("8.3");
  ASSERT_GT(help.LstHelpTopics->count(), 0);
  help.LstHelpTopics->setCurrentRow(help.LstHelpTopics->count() - 1);
  EXPECT_EQ(help.HelpBrowser->documentTitle(), help.LstHelpTopics->currentItem()->text());
}

TEST(HelpWindow, EveryTopicLoadsAndEveryLinkAndPictureResolves) {
  THelpWindow help;
  ASSERT_TRUE(help.LoadManual());
  const QRegularExpression reference(R"re((href|src)="([^"#]*)(#[^"]*)?")re");
  for (const THelpTopic& topic : help.Topics()) {
    help.ShowPage(topic.Page);
    EXPECT_EQ(help.HelpBrowser->documentTitle(), topic.Title) << topic.Page.toStdString();
    EXPECT_GT(topic.Text.size(), 200) << topic.Page.toStdString();
    const QString html = Resource(topic.Page);
    for (const QRegularExpressionMatch& m : reference.globalMatch(html)) {
      const QString target = m.captured(2);
      if (target.startsWith("http")) continue;
      SCOPED_TRACE(topic.Page.toStdString() + " -> " + target.toStdString());
      if (m.captured(1) == "src")
        EXPECT_FALSE(QImage(QString(kManualRoot) + "/" + target).isNull());
      else
        EXPECT_FALSE(Resource(target).isEmpty());
    }
  }
}

TEST(HelpWindow, AFollowedLinkSelectsItsTopic) {
  THelpWindow help;
  ASSERT_TRUE(help.LoadManual());
  help.ShowPage("result-files.html");
  help.HelpBrowser->setSource(QUrl("recover.html"));  // as a click on the link does
  ASSERT_NE(help.LstHelpTopics->currentItem(), nullptr);
  EXPECT_EQ(help.LstHelpTopics->currentItem()->text(), "Recover: undoing a pass");
}

TEST(HelpWindow, TheCommandLinePageIsWhatTheCommandLineSays) {
  const QString page = Resource("command-line.html");
  EXPECT_TRUE(page.contains("Usage: veltrane-cli")) << page.left(300).toStdString();
  EXPECT_TRUE(page.contains("recover FILE"));
}

TEST(HelpWindow, AMissingManualIsReportedAndTheWindowGoesOn) {
  TForm1 form;
  form.show();
  form.SetManualRoot(":/no-manual-here");
  TModalScript script;
  script.Then(Press(QMessageBox::Ok)).Run([&] { form.HelpItem->trigger(); });
  ASSERT_EQ(script.Seen().size(), 1);
  EXPECT_TRUE(script.Seen()[0].startsWith("Veltrane|Cannot show the help topics")) << script.Seen()[0].toStdString();
  EXPECT_TRUE(form.HelpWindow() == nullptr || !form.HelpWindow()->isVisible());
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(form.HelpItem->isEnabled());
}

}  // namespace
}  // namespace vt
