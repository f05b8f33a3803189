// Help Topics: the help window over the manual compiled into the program.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <algorithm>

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
  test::Named<QAction>(form, "HelpItem")->trigger();
  auto* help = form.findChild<THelpWindow*>("HelpWindow");
  ASSERT_NE(help, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return help->isVisible(); }));
  EXPECT_EQ(help->objectName(), "HelpWindow");
  EXPECT_TRUE(help->isWindow());
  EXPECT_GE(help->LstHelpTopics->count(), 15);
  EXPECT_EQ(help->LstHelpTopics->currentRow(), 0);
  EXPECT_EQ(help->HelpBrowser->documentTitle(), "Getting started");
  // Asked again, the same window comes forward.
  test::Named<QAction>(form, "HelpItem")->trigger();
  EXPECT_EQ(form.findChildren<THelpWindow*>().size(), 1);
  EXPECT_EQ(form.findChild<THelpWindow*>("HelpWindow"), help);
}

// As the desktop's own windows: Escape and Ctrl+W close it, from the list,
// the search field or the page alike.
TEST(HelpWindow, EscapeAndCtrlWCloseIt) {
  TForm1 form;
  form.show();
  const struct {
    QKeyCombination Key;
    const char* Focus;
  } cases[] = {
      {QKeyCombination(Qt::Key_Escape), "LstHelpTopics"},
      {QKeyCombination(Qt::Key_Escape), "EdHelpSearch"},
      {QKeyCombination(Qt::CTRL, Qt::Key_W), "HelpBrowser"},
      {QKeyCombination(Qt::CTRL, Qt::Key_W), "EdHelpSearch"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QKeySequence(c.Key).toString().toStdString() + " in " + c.Focus);
    test::Named<QAction>(form, "HelpItem")->trigger();
    auto* help = form.findChild<THelpWindow*>("HelpWindow");
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return help->isVisible() && help->isActiveWindow(); }));
    auto* focus = help->findChild<QWidget*>(c.Focus);
    focus->setFocus();
    QTest::keyClick(focus, c.Key.key(), c.Key.keyboardModifiers());
    EXPECT_TRUE(WaitUntil([&] { return !help->isVisible(); }));
  }
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
  EXPECT_FALSE(help.LblHelpNoTopic->isHidden());
  EXPECT_EQ(help.LblHelpNoTopic->text(), "No topic contains \u201Crecover zzzqqq\u201D.");
  help.EdHelpSearch->clear();
  EXPECT_EQ(help.LstHelpTopics->count(), static_cast<int>(help.Topics().size()));
  EXPECT_TRUE(help.LblHelpNoTopic->isHidden());

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
  script.Then(Press(QMessageBox::Ok)).Run([&] { test::Named<QAction>(form, "HelpItem")->trigger(); });
  ASSERT_EQ(script.Seen().size(), 1);
  EXPECT_TRUE(script.Seen()[0].startsWith("Veltrane|Cannot show the help topics")) << script.Seen()[0].toStdString();
  const auto* help = form.findChild<THelpWindow*>("HelpWindow");
  EXPECT_TRUE(help == nullptr || !help->isVisible());
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(test::Named<QAction>(form, "HelpItem")->isEnabled());
}

TEST(HelpWindow, OpensBesideTheMainWindowAndWhollyOnTheScreen) {
  const QRect screen(0, 0, 1920, 1080);
  const QSize help(860, 600);
  const struct {
    const char* what;
    QRect main;
    QSize size;
    QRect place;
  } cases[] = {
      {"room on the right", {100, 100, 640, 460}, help, {740, 100, 860, 600}},
      {"room on the left only", {1000, 100, 640, 460}, help, {140, 100, 860, 600}},
      {"no room either side: kept on the screen", {600, 100, 640, 460}, help, {1060, 100, 860, 600}},
      {"low main window: lifted", {100, 700, 640, 460}, help, {740, 480, 860, 600}},
      {"bigger than the screen: shrunk", {0, 0, 640, 460}, {2500, 1500}, {0, 0, 1920, 1080}},
  };
  for (const auto& c : cases) {
    const QRect place = HelpWindowPlace(screen, c.main, c.size);
    EXPECT_EQ(place, c.place) << c.what;
    EXPECT_TRUE(screen.contains(place)) << c.what;
  }
  // A screen that does not start at 0, 0 (a second monitor, a panel on the left).
  EXPECT_EQ(HelpWindowPlace({1920, 40, 1280, 984}, {2000, 100, 640, 460}, help), QRect(2340, 100, 860, 600));
}

TEST(HelpWindow, PicturesAreNoWiderThanThePage) {
  THelpWindow help;
  ASSERT_TRUE(help.LoadManual());
  help.resize(500, 400);
  help.show();
  help.ShowPage("result-table.html");
  ASSERT_TRUE(WaitUntil([&] { return help.HelpBrowser->documentTitle() == "The result table and its statuses"; }));
  const auto widestPicture = [&] {
    qreal widest = 0;
    QTextDocument* document = help.HelpBrowser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
      for (auto it = block.begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().isImageFormat())
          widest = std::max(widest, it.fragment().charFormat().toImageFormat().width());
    return widest;
  };
  ASSERT_TRUE(WaitUntil([&] { return widestPicture() > 0; }));
  EXPECT_LE(widestPicture(), help.HelpBrowser->viewport()->width());
  EXPECT_EQ(help.HelpBrowser->horizontalScrollBar()->maximum(), 0);
  // Wider again, the picture grows back, up to its own width.
  help.resize(1600, 900);
  ASSERT_TRUE(WaitUntil([&] { return widestPicture() > 500; }));
  EXPECT_LE(widestPicture(), 640);
}

}  // namespace
}  // namespace vt
