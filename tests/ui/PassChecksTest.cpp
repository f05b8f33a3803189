// The checks before a pass in the window: the boxes they show, and where a
// refusal leaves the window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

#include "UiTestApp.h"
#include "engine/Messages.h"
#include "ui/Form1.h"
#include "ui/MessageBoxes.h"
#include "ui/UpDown.h"

namespace vt {
namespace {

using test::WaitUntil;

TEST(MessageBoxes, ThreeKindsWithTheirTitlesIconsAndButtons) {
  const struct {
    TMessageKind kind;
    const char* title;
    QMessageBox::Icon icon;
    QStringList buttons;
    const char* defaultButton;
    const char* escapeButton;
  } cases[] = {
      {TMessageKind::Error, "Error", QMessageBox::Critical, {"OK"}, "OK", "OK"},
      {TMessageKind::Information, "Information", QMessageBox::Information, {"OK"}, "OK", "OK"},
      {TMessageKind::Confirmation, "Confirm", QMessageBox::Question, {"&Yes", "&No", "Cancel"}, "&Yes", "Cancel"},
  };
  for (const auto& c : cases) {
    const auto box = MakeMessageBox(c.kind, "line one\nline two");
    EXPECT_EQ(box->windowTitle(), c.title);
    EXPECT_EQ(box->icon(), c.icon);
    EXPECT_EQ(box->text(), "line one\nline two");
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    QStringList buttons;
    for (QAbstractButton* b : box->buttons()) buttons << b->text();
    buttons.sort();
    QStringList expected = c.buttons;
    expected.sort();
    EXPECT_EQ(buttons, expected) << c.title;
    EXPECT_EQ(box->defaultButton()->text(), c.defaultButton);
    EXPECT_EQ(box->escapeButton()->text(), c.escapeButton);
  }
}

// Answers the modal boxes as they come up: clicks the button with the caption
// given, or with "" closes the box as its title-bar button would.
class TBoxAnswerer {
 public:
  explicit TBoxAnswerer(QStringList answers) : Answers_(std::move(answers)) {
    QObject::connect(&Timer_, &QTimer::timeout, [this] { Answer(); });
    Timer_.start(5);
  }
  struct TSeen {
    QString Name, Title, Text;
    QPoint Centre;
  };
  std::vector<TSeen> Seen;

 private:
  void Answer() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    Seen.push_back({box->objectName(), box->windowTitle(), box->text(), box->frameGeometry().center()});
    const QString answer = Answers_.isEmpty() ? QString("OK") : Answers_.takeFirst();
    if (answer.isEmpty()) {
      box->close();
      return;
    }
    for (QAbstractButton* b : box->buttons())
      if (b->text() == answer) {
        b->click();
        return;
      }
    ADD_FAILURE() << "no button " << answer.toStdString();
    box->close();
  }
  QStringList Answers_;
  QTimer Timer_;
};

class PassChecks : public testing::Test {
 protected:
  void SetUp() override {
    Form.show();
    Form.activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return Form.isActiveWindow(); }));
  }
  // The window's focus field, which has the keyboard whenever the window is active.
  QString Focused() const { return test::NamedAncestor(Form.focusWidget()); }
  // The field has the window's focus, and the keyboard once the box has gone.
  bool FocusOn(const QString& name) const {
    return WaitUntil([&] { return Focused() == name && QApplication::focusWidget() == Form.focusWidget(); },
                     std::chrono::seconds(2));
  }

  TForm1 Form;
};

TEST_F(PassChecks, ARefusalShowsItsBoxTheControlPageAndTheField) {
  const struct {
    int operation;
    const char* search;
    const char* replace;
    const char* insert;
    int removeKind;
    const char* name;
    const char* title;
    int message;
    const char* focus;
  } cases[] = {
      {0, "", "", "", 0, "MessageBoxError", "Error", Msg::SpecifySearchText, "EdSearchFor"},
      {0, "*", "x", "", 0, "MessageBoxError", "Error", Msg::SpecifySearchText, "EdSearchFor"},
      {0, "a.txt", "", "", 0, "MessageBoxError", "Error", Msg::SpecifyReplaceText, "EdReplaceWith"},
      {0, "photo.*", "x.jpg", "", 0, "MessageBoxInformation", "Information", Msg::SameNameInfo, "EdReplaceWith"},
      {1, "", "", "", 0, "MessageBoxError", "Error", Msg::SpecifyInsertText, "EdInsert"},
      {2, "", "", "", 0, "MessageBoxError", "Error", Msg::SpecifyDeleteText, "EdDelete"},
      {2, "", "", "", 1, "MessageBoxError", "Error", Msg::SpecifyDeleteCount, "EdNbrDelete"},
  };
  for (const auto& c : cases) {
    test::Named<QListWidget>(Form, "LstBoxActions")->setCurrentRow(c.operation);
    test::Named<QLineEdit>(Form, "EdSearchFor")->setText(c.search);
    test::Named<QLineEdit>(Form, "EdReplaceWith")->setText(c.replace);
    test::Named<QLineEdit>(Form, "EdInsert")->setText(c.insert);
    test::Named<QComboBox>(Form, "ComboItemToDelete")->setCurrentIndex(c.removeKind);
    test::Named<QTabWidget>(Form, "PageControl1")->setCurrentWidget(test::Named<QWidget>(Form, "TabSheetResults"));
    test::Named<QPushButton>(Form, "BtRename")->setFocus();
    TBoxAnswerer answerer({"OK"});
    test::Named<QPushButton>(Form, "BtRename")->click();
    ASSERT_EQ(answerer.Seen.size(), 1u) << c.message;
    EXPECT_EQ(answerer.Seen[0].Name, c.name);
    EXPECT_EQ(answerer.Seen[0].Title, c.title);
    EXPECT_EQ(answerer.Seen[0].Text.toStdString(), Message(c.message));
    EXPECT_EQ(test::Named<QTabWidget>(Form, "PageControl1")->currentWidget(),
              test::Named<QWidget>(Form, "TabSheetControls"))
        << c.message;
    EXPECT_TRUE(FocusOn(c.focus)) << c.message << ": focus on " << Focused().toStdString();
    EXPECT_EQ(test::Named<QListWidget>(Form, "LstBoxActions")->currentRow(),
              c.operation);  // the settings stay as they were
    EXPECT_EQ(test::Named<QLineEdit>(Form, "EdSearchFor")->text(), c.search);
  }
}

TEST_F(PassChecks, EveryWayToDeclineAConfirmationRefuses) {
  test::Named<QLineEdit>(Form, "EdSearchFor")->setText("*.*");
  test::Named<QLineEdit>(Form, "EdReplaceWith")->setText("*.");
  for (const QString& decline : {QString("&No"), QString("Cancel"), QString()}) {
    test::Named<QTabWidget>(Form, "PageControl1")->setCurrentWidget(test::Named<QWidget>(Form, "TabSheetResults"));
    TBoxAnswerer answerer({"&Yes", decline});
    EXPECT_FALSE(Form.CheckSettings());
    ASSERT_EQ(answerer.Seen.size(), 2u);
    EXPECT_EQ(answerer.Seen[0].Title, "Confirm");
    EXPECT_EQ(answerer.Seen[1].Text.toStdString(), Message(Msg::SameName));
    EXPECT_EQ(test::Named<QTabWidget>(Form, "PageControl1")->currentWidget(),
              test::Named<QWidget>(Form, "TabSheetControls"));
    EXPECT_TRUE(FocusOn("EdReplaceWith")) << decline.toStdString();
  }
}

TEST_F(PassChecks, ThreeQuestionsAnsweredYesLetThePassStart) {
  test::Named<QLineEdit>(Form, "EdSearchFor")->setText("*.*");
  test::Named<QLineEdit>(Form, "EdReplaceWith")->setText("*.");
  test::Named<QTabWidget>(Form, "PageControl1")->setCurrentWidget(test::Named<QWidget>(Form, "TabSheetResults"));
  TBoxAnswerer answerer({"&Yes", "&Yes", "&Yes"});
  EXPECT_TRUE(Form.CheckSettings());
  ASSERT_EQ(answerer.Seen.size(), 3u);
  EXPECT_EQ(answerer.Seen[0].Text.toStdString(), Message(Msg::RemoveSeveralExtensions));
  EXPECT_EQ(answerer.Seen[1].Text.toStdString(), Message(Msg::SameName));
  EXPECT_EQ(answerer.Seen[2].Text.toStdString(), Message(Msg::RemoveExtension));
  // Passing changes nothing in the window.
  EXPECT_EQ(test::Named<QTabWidget>(Form, "PageControl1")->currentWidget(),
            test::Named<QWidget>(Form, "TabSheetResults"));
  // Each box stands in the middle of the screen.
  const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
  for (const auto& seen : answerer.Seen) EXPECT_LE((seen.Centre - centre).manhattanLength(), 2);
}

TEST_F(PassChecks, ARegularExpressionThatDoesNotCompileSaysWhereAndWhy) {
  const struct {
    const char* search;
    const char* replace;
    const char* text;
    const char* focus;
  } cases[] = {
      {"(abc", "x", "The regular expression does not compile at position 4:\nmissing closing parenthesis",
       "EdSearchFor"},
      {"(a)", "$2", "The replacement does not compile at position 0:\nunknown substring", "EdReplaceWith"},
  };
  test::Named<QCheckBox>(Form, "ChkBxRegex")->setChecked(true);
  for (const auto& c : cases) {
    test::Named<QLineEdit>(Form, "EdSearchFor")->setText(c.search);
    test::Named<QLineEdit>(Form, "EdReplaceWith")->setText(c.replace);
    TBoxAnswerer answerer({"OK"});
    test::Named<QAction>(Form, "SimulItem")->trigger();
    ASSERT_EQ(answerer.Seen.size(), 1u) << c.search;
    EXPECT_EQ(answerer.Seen[0].Name, "MessageBoxError");
    EXPECT_EQ(answerer.Seen[0].Text.toStdString(), c.text);
    EXPECT_TRUE(FocusOn(c.focus)) << c.search;
  }
}

TEST_F(PassChecks, SimulateChecksToo) {
  test::Named<QListWidget>(Form, "LstBoxActions")->setCurrentRow(1);
  TBoxAnswerer answerer({"OK"});
  test::Named<QAction>(Form, "SimulItem")->trigger();
  ASSERT_EQ(answerer.Seen.size(), 1u);
  EXPECT_EQ(answerer.Seen[0].Text.toStdString(), Message(Msg::SpecifyInsertText));
  EXPECT_TRUE(FocusOn("EdInsert"));
}

TEST_F(PassChecks, TheCountIsWhatTheFieldShows) {
  test::Named<QListWidget>(Form, "LstBoxActions")->setCurrentRow(2);
  test::Named<QComboBox>(Form, "ComboItemToDelete")->setCurrentIndex(1);
  test::Named<QLineEdit>(Form, "EdNbrDelete")->setText("3");  // typed, not stepped by the arrows
  TBoxAnswerer answerer({});
  EXPECT_TRUE(Form.CheckSettings());
  EXPECT_TRUE(answerer.Seen.empty());
}

}  // namespace
}  // namespace vt
