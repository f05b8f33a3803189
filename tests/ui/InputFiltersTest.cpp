// The key rules of the settings' fields, driven by key clicks, and the same
// rules for text that is pasted or dropped.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMimeData>
#include <QTest>

#include "UiTestApp.h"
#include "browse/ApplicationError.h"
#include "ui/ErrorBox.h"
#include "ui/Form1.h"
#include "ui/UpDown.h"

namespace vt {
namespace {

using test::WaitUntil;

class InputFilters : public testing::Test {
 protected:
  void SetUp() override {
    SetApplicationErrorHandler([this](const QString& text) { Errors << text; });
    Form.show();
    Form.activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return Form.isActiveWindow(); }));
  }
  void TearDown() override { InstallErrorBox(); }

  // Presses and releases a key for each character of text, at the field's end.
  void Type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->end(false);
    for (const QChar c : text) {
      const int key = c.unicode() < 128 ? int(c.toUpper().unicode()) : int(Qt::Key_unknown);
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
      QApplication::sendEvent(field, &press);
      QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
      QApplication::sendEvent(field, &release);
    }
  }
  // Pastes as the field's menu does, then lets the filters run.
  void Paste(QLineEdit* field, const QString& text) {
    QApplication::clipboard()->setText(text);
    field->setFocus();
    field->paste();
    QCoreApplication::processEvents();
  }
  void ShowPage(int row) { test::Named<QListWidget>(Form, "LstBoxActions")->setCurrentRow(row); }

  TForm1 Form;
  QStringList Errors;
};

TEST_F(InputFilters, EachTextFieldDropsItsCharacters) {
  const struct {
    const char* field;
    int page;
    const char* typed;
    const char* kept;
  } cases[] = {
      {"EdSearchFor", 0, "a:b*c?d", "ab*c?d"}, {"EdReplaceWith", 0, "x\"/<>|\\y*?.", "xy*?."},
      {"EdInsert", 1, "a*b.c?d:e", "abcde"},   {"EdDelete", 2, "a*b.c?d|", "abc?d"},
      {"EdInsert", 1, "résumé €", "résumé €"},  // above 127 everything passes
  };
  for (const auto& c : cases) {
    QLineEdit* field = test::Named<QLineEdit>(Form, c.field);
    ShowPage(c.page);
    field->clear();
    Type(field, QString::fromUtf8(c.typed));
    EXPECT_EQ(field->text(), QString::fromUtf8(c.kept)) << field->objectName().toStdString();
  }
  EXPECT_TRUE(Errors.isEmpty());
}

TEST_F(InputFilters, TextPastedOrDroppedLosesTheRefusedCharacters) {
  ShowPage(1);
  test::Named<QLineEdit>(Form, "EdInsert")->setText("ab");
  test::Named<QLineEdit>(Form, "EdInsert")->setCursorPosition(1);
  Paste(test::Named<QLineEdit>(Form, "EdInsert"), "x*y.z?:");
  EXPECT_EQ(test::Named<QLineEdit>(Form, "EdInsert")->text(), "axyzb");
  EXPECT_EQ(test::Named<QLineEdit>(Form, "EdInsert")->cursorPosition(), 4);  // after what was kept
  ShowPage(2);
  Paste(test::Named<QLineEdit>(Form, "EdDelete"), "a*b.c?d");
  EXPECT_EQ(test::Named<QLineEdit>(Form, "EdDelete")->text(), "abc?d");
  ShowPage(0);
  Paste(test::Named<QLineEdit>(Form, "EdReplaceWith"), "new:name.*");
  EXPECT_EQ(test::Named<QLineEdit>(Form, "EdReplaceWith")->text(), "newname.*");
  // Dropped text.
  test::Named<QLineEdit>(Form, "EdInsert")->clear();
  ShowPage(1);
  QMimeData data;
  data.setText("d.r|op");
  const QPoint at = test::Named<QLineEdit>(Form, "EdInsert")->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(test::Named<QLineEdit>(Form, "EdInsert"), &enter);
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(test::Named<QLineEdit>(Form, "EdInsert"), &drop);
  QCoreApplication::processEvents();
  EXPECT_EQ(test::Named<QLineEdit>(Form, "EdInsert")->text(), "drop");
}

TEST_F(InputFilters, ADotInTheSearchPatternTreatsTheExtension) {
  Type(test::Named<QLineEdit>(Form, "EdSearchFor"), "a");
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "ChkBxSearchInExt")->isChecked());
  Type(test::Named<QLineEdit>(Form, "EdSearchFor"), ".");
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "ChkBxSearchInExt")->isChecked());
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "ChkBxSearchRecursive")->isEnabled());
  Type(test::Named<QLineEdit>(Form, "EdSearchFor"), "b");
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "ChkBxSearchInExt")->isChecked());
  // Delete takes the dot away: unchecked on the key's release.
  test::Named<QLineEdit>(Form, "EdSearchFor")->setCursorPosition(1);
  QTest::keyClick(test::Named<QLineEdit>(Form, "EdSearchFor"), Qt::Key_Delete);
  EXPECT_EQ(test::Named<QLineEdit>(Form, "EdSearchFor")->text(), "ab");
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "ChkBxSearchInExt")->isChecked());
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "ChkBxSearchRecursive")->isEnabled());
  // And so does Backspace.
  Type(test::Named<QLineEdit>(Form, "EdSearchFor"), ".");
  ASSERT_TRUE(test::Named<QCheckBox>(Form, "ChkBxSearchInExt")->isChecked());
  QTest::keyClick(test::Named<QLineEdit>(Form, "EdSearchFor"), Qt::Key_Backspace);
  QCoreApplication::processEvents();
  EXPECT_EQ(test::Named<QLineEdit>(Form, "EdSearchFor")->text(), "ab");
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "ChkBxSearchInExt")->isChecked());
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "ChkBxSearchRecursive")->isEnabled());
}

TEST_F(InputFilters, ARegularExpressionTakesEveryCharacterAndLeavesTheExtensionAlone) {
  QLineEdit* search = test::Named<QLineEdit>(Form, "EdSearchFor");
  auto* treatExtension = test::Named<QCheckBox>(Form, "ChkBxSearchInExt");
  auto* recursive = test::Named<QCheckBox>(Form, "ChkBxSearchRecursive");
  Type(search, "a.");
  ASSERT_FALSE(recursive->isEnabled());
  test::Named<QCheckBox>(Form, "ChkBxRegex")->click();
  EXPECT_TRUE(recursive->isEnabled());
  treatExtension->setChecked(false);
  Type(search, R"(\d+|x:"<>)");
  EXPECT_EQ(search->text(), R"(a.\d+|x:"<>)");
  EXPECT_FALSE(treatExtension->isChecked());
  search->clear();
  Paste(search, R"(^(\w+)\.jpe?g$)");
  EXPECT_EQ(search->text(), R"(^(\w+)\.jpe?g$)");
  EXPECT_FALSE(treatExtension->isChecked());
  EXPECT_TRUE(recursive->isEnabled());
  // Back to wildcards: what a wildcard pattern cannot hold goes, and the dot counts again.
  test::Named<QCheckBox>(Form, "ChkBxRegex")->click();
  EXPECT_EQ(search->text(), R"(^(w+).jpe?g$)");
  EXPECT_TRUE(treatExtension->isChecked());
  EXPECT_FALSE(recursive->isEnabled());
}

TEST_F(InputFilters, TheDotCouplingIsTheSearchPatternsAlone) {
  Type(test::Named<QLineEdit>(Form, "EdReplaceWith"), "x.y");
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "ChkBxSearchInExt")->isChecked());
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "ChkBxSearchRecursive")->isEnabled());
  // Checked by hand with a dot typed: nothing else changes.
  test::Named<QLineEdit>(Form, "EdSearchFor")->setText("a");
  test::Named<QCheckBox>(Form, "ChkBxSearchInExt")->click();
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "ChkBxSearchRecursive")->isEnabled());
  Type(test::Named<QLineEdit>(Form, "EdSearchFor"), ".");
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "ChkBxSearchInExt")->isChecked());
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "ChkBxSearchRecursive")->isEnabled());
  // A pasted dot counts as a typed one.
  test::Named<QCheckBox>(Form, "ChkBxSearchInExt")->setChecked(false);
  test::Named<QLineEdit>(Form, "EdSearchFor")->clear();
  Paste(test::Named<QLineEdit>(Form, "EdSearchFor"), "*.txt");
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "ChkBxSearchInExt")->isChecked());
  EXPECT_FALSE(test::Named<QCheckBox>(Form, "ChkBxSearchRecursive")->isEnabled());
}

// Sets a number field's text as the user left it, the caret at its end.
void SetNumber(QLineEdit* field, const QString& text) {
  field->setText(text);
  field->setFocus();
  field->end(false);
}

TEST_F(InputFilters, DigitsTypedIntoNumberFields) {
  const struct {
    const char* field;
    int page;
    const char* text;
    char digit;
    const char* result;
  } cases[] = {
      {"EdIncrement", 3, "1", '8', "18"},         {"EdIncrement", 3, "3", '5', "20"},  // 35 is above 20
      {"EdStartNumber", 3, "3276", '8', "32767"}, {"EdStartNumber", 3, "3276", '7', "32767"},
      {"EdStartNumber", 3, "3276", 'x', "3276"},  {"EdNbrTruncate", 5, "12", '8', "127"},
      {"EdNbrDelete", 2, "0", '5', "05"},  // nothing checks the minimum or a leading zero
  };
  for (const auto& c : cases) {
    ShowPage(c.page);
    QLineEdit* field = test::Named<QLineEdit>(Form, c.field);
    SetNumber(field, c.text);
    QTest::keyClick(field, c.digit);
    EXPECT_EQ(field->text(), c.result) << field->objectName().toStdString() << " " << c.text << "+" << c.digit;
  }
  EXPECT_TRUE(Errors.isEmpty());
}

TEST_F(InputFilters, TheCandidateIsTheTextFollowedByTheDigitWhereverTheCaret) {
  ShowPage(1);
  test::Named<QComboBox>(Form, "ComboInsertTo")->setCurrentIndex(2);
  SetNumber(test::Named<QLineEdit>(Form, "EdInsertPos"), "127");
  test::Named<QLineEdit>(Form, "EdInsertPos")->selectAll();
  QTest::keyClick(test::Named<QLineEdit>(Form, "EdInsertPos"), '5');  // judged on 1275
  EXPECT_EQ(test::Named<QLineEdit>(Form, "EdInsertPos")->text(), "127");
  SetNumber(test::Named<QLineEdit>(Form, "EdInsertPos"), "1");
  test::Named<QLineEdit>(Form, "EdInsertPos")->setCursorPosition(0);
  QTest::keyClick(test::Named<QLineEdit>(Form, "EdInsertPos"), '2');  // judged on 12, put in at the caret
  EXPECT_EQ(test::Named<QLineEdit>(Form, "EdInsertPos")->text(), "21");
}

TEST_F(InputFilters, BackspaceDoesNotWorkInNumberFields) {
  ShowPage(3);
  SetNumber(test::Named<QLineEdit>(Form, "EdIncrement"), "12");
  QTest::keyClick(test::Named<QLineEdit>(Form, "EdIncrement"), Qt::Key_Backspace);
  EXPECT_EQ(test::Named<QLineEdit>(Form, "EdIncrement")->text(), "12");
}

TEST_F(InputFilters, DeleteThatEmptiesANumberFieldPutsItsMinimumBack) {
  const struct {
    const char* field;
    int page;
    const char* minimum;
  } cases[] = {{"EdIncrement", 3, "1"}, {"EdStartNumber", 3, "0"}, {"EdNbrDelete", 2, "0"}};
  for (const auto& c : cases) {
    ShowPage(c.page);
    if (c.page == 2) test::Named<QComboBox>(Form, "ComboItemToDelete")->setCurrentIndex(1);
    QLineEdit* field = test::Named<QLineEdit>(Form, c.field);
    SetNumber(field, "15");
    field->home(false);
    QTest::keyClick(field, Qt::Key_Delete);
    EXPECT_EQ(field->text(), "5");
    QTest::keyClick(field, Qt::Key_Delete);
    EXPECT_EQ(field->text(), c.minimum) << field->objectName().toStdString();
  }
}

TEST_F(InputFilters, ADigitTypedAfterTheArrowsWroteASeparatorIsAConversionError) {
  ShowPage(3);
  test::Named<TUpDown>(Form, "UpDownStartNumber")->SetPosition(1000);
  const QString written = test::Named<QLineEdit>(Form, "EdStartNumber")->text();
  if (QLocale().groupSeparator().isEmpty() || written == "1000") GTEST_SKIP() << "the locale writes no separator";
  test::Named<QLineEdit>(Form, "EdStartNumber")->setFocus();
  test::Named<QLineEdit>(Form, "EdStartNumber")->end(false);
  QTest::keyClick(test::Named<QLineEdit>(Form, "EdStartNumber"), '1');
  EXPECT_EQ(test::Named<QLineEdit>(Form, "EdStartNumber")->text(), written);
  ASSERT_EQ(Errors.size(), 1);
  EXPECT_EQ(Errors[0], "'" + written + "1' is not a valid integer value");
}

TEST_F(InputFilters, TextPastedIntoNumberFields) {
  ShowPage(3);
  SetNumber(test::Named<QLineEdit>(Form, "EdIncrement"), "1");
  Paste(test::Named<QLineEdit>(Form, "EdIncrement"), "a2");
  EXPECT_EQ(test::Named<QLineEdit>(Form, "EdIncrement")->text(), "12");
  SetNumber(test::Named<QLineEdit>(Form, "EdIncrement"), "1");
  Paste(test::Named<QLineEdit>(Form, "EdIncrement"), "99");
  EXPECT_EQ(test::Named<QLineEdit>(Form, "EdIncrement")->text(), "20");
  // Ctrl+V pastes too, under the same rule.
  SetNumber(test::Named<QLineEdit>(Form, "EdStartNumber"), "");
  QApplication::clipboard()->setText("1 2 3");
  QTest::keyClick(test::Named<QLineEdit>(Form, "EdStartNumber"), Qt::Key_V, Qt::ControlModifier);
  QCoreApplication::processEvents();
  EXPECT_EQ(test::Named<QLineEdit>(Form, "EdStartNumber")->text(), "123");
  EXPECT_TRUE(Errors.isEmpty());
}

}  // namespace
}  // namespace vt
