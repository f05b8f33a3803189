// The settings pages' reactions to the operation list, the drop-downs and the
// base-name check box.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStackedWidget>
#include <QTest>
#include <vector>

#include "UiTestApp.h"
#include "ui/Form1.h"
#include "ui/UpDown.h"

namespace vt {
namespace {

using test::WaitUntil;

class SettingsPanels : public testing::Test {
 protected:
  void SetUp() override {
    Form.show();
    Form.activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return Form.isActiveWindow(); }));
  }
  // Shown as far as its page goes, whichever page is current.
  bool Shown(const QWidget* w) const { return !w->isHidden(); }
  QString Focused() const { return test::NamedAncestor(QApplication::focusWidget()); }
  void ShowPage(int row) { Form.LstBoxActions->setCurrentRow(row); }

  TForm1 Form;
};

TEST_F(SettingsPanels, EachOperationShowsItsPage) {
  const QWidget* pages[] = {Form.TabSheetSetSearch, Form.TabSheetSetInsert,        Form.TabSheetSetDelete,
                            Form.TabSheetSetNumber, Form.TabSheetSetCaseSensitive, Form.TabSheetSetTruncate};
  for (int row : {3, 0, 5, 1, 4, 2}) {
    QTest::mouseClick(Form.LstBoxActions->viewport(), Qt::LeftButton, {},
                      Form.LstBoxActions->visualItemRect(Form.LstBoxActions->item(row)).center());
    EXPECT_EQ(Form.PageCtrlSettings->currentWidget(), pages[row]) << row;
  }
}

TEST_F(SettingsPanels, TheKeyboardArrowsSwitchThePageAsAClickDoes) {
  Form.LstBoxActions->setFocus();
  for (int i = 0; i < 3; ++i) QTest::keyClick(Form.LstBoxActions, Qt::Key_Down);
  EXPECT_EQ(Form.LstBoxActions->currentRow(), 3);
  EXPECT_EQ(Form.PageCtrlSettings->currentWidget(), Form.TabSheetSetNumber);
  QTest::keyClick(Form.LstBoxActions, Qt::Key_Up);
  EXPECT_EQ(Form.PageCtrlSettings->currentWidget(), Form.TabSheetSetDelete);
}

TEST_F(SettingsPanels, NoSelectionLeavesThePage) {
  ShowPage(4);
  Form.LstBoxActions->setCurrentRow(-1);
  EXPECT_EQ(Form.PageCtrlSettings->currentWidget(), Form.TabSheetSetCaseSensitive);
}

struct TRuleCase {
  int page;
  const char* combo;
  int item;
  QStringList shown;
  QStringList hidden;
  const char* focus;  // empty: the focus stays on the list
};

TEST(SettingsPanelRules, EachChoiceShowsAndHidesItsFields) {
  const TRuleCase cases[] = {
      {1, "ComboInsertTo", 2, {"EdInsertPos", "UpDownInsertPos"}, {}, "EdInsertPos"},
      {1, "ComboInsertTo", 3, {"EdInsertPos", "UpDownInsertPos"}, {}, "EdInsertPos"},
      {1, "ComboInsertTo", 1, {}, {"EdInsertPos", "UpDownInsertPos"}, ""},
      {2, "ComboItemToDelete", 1, {"LabelNnrDelete", "EdNbrDelete", "UpDownNbrDelete", "ComboDeleteFrom"},
       {"EdDelete", "ChkBxCaseSensDel", "ChkBxDelRecursive", "EdDeletePos", "UpDownDeletePos"}, "EdNbrDelete"},
      {2, "ComboDeleteFrom", 2, {"EdDeletePos", "UpDownDeletePos"}, {}, "EdDeletePos"},
      {2, "ComboDeleteFrom", 3, {"EdDeletePos", "UpDownDeletePos"}, {}, "EdDeletePos"},
      {2, "ComboDeleteFrom", 1, {}, {"EdDeletePos", "UpDownDeletePos"}, ""},
      {3, "ComboNumberInsertTo", 2, {"EdNumberPos", "UpDownNumberPos"}, {}, ""},
      {3, "ComboNumberInsertTo", 3, {"EdNumberPos", "UpDownNumberPos"}, {}, ""},
      {5, "ComboTruncateTo", 1, {"EdNbrTruncate", "UpDownNbrTruncate"}, {}, ""},
  };
  for (const TRuleCase& c : cases) {
    TForm1 form;
    form.show();
    form.activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return form.isActiveWindow(); }));
    form.LstBoxActions->setCurrentRow(c.page);
    form.LstBoxActions->setFocus();
    auto* combo = form.findChild<QComboBox*>(c.combo);
    ASSERT_NE(combo, nullptr) << c.combo;
    combo->setCurrentIndex(c.item);
    const std::string label = std::string(c.combo) + " " + std::to_string(c.item);
    for (const QString& name : c.shown) EXPECT_TRUE(form.findChild<QWidget*>(name)->isVisible()) << label << " " << name.toStdString();
    for (const QString& name : c.hidden) EXPECT_TRUE(form.findChild<QWidget*>(name)->isHidden()) << label << " " << name.toStdString();
    const QString focus = *c.focus ? QString(c.focus) : QString("LstBoxActions");
    EXPECT_TRUE(WaitUntil([&] { return test::NamedAncestor(QApplication::focusWidget()) == focus; })) << label;
    // The first items take the fields away again.
    combo->setCurrentIndex(0);
    for (const QString& name : c.shown) {
      EXPECT_TRUE(form.findChild<QWidget*>(name)->isHidden()) << label << " " << name.toStdString();
    }
  }
}

TEST_F(SettingsPanels, RemoveByCountThenByTextAgain) {
  ShowPage(2);
  Form.ComboItemToDelete->setCurrentIndex(1);
  Form.ComboDeleteFrom->setCurrentIndex(3);
  EXPECT_TRUE(Shown(Form.EdDeletePos) && Shown(Form.UpDownDeletePos));
  Form.ComboItemToDelete->setCurrentIndex(0);
  for (QWidget* w : std::initializer_list<QWidget*>{Form.LabelNnrDelete, Form.EdNbrDelete, Form.UpDownNbrDelete,
                                                     Form.ComboDeleteFrom, Form.EdDeletePos, Form.UpDownDeletePos})
    EXPECT_FALSE(Shown(w)) << w->objectName().toStdString();
  for (QWidget* w : std::initializer_list<QWidget*>{Form.EdDelete, Form.ChkBxCaseSensDel, Form.ChkBxDelRecursive})
    EXPECT_TRUE(Shown(w)) << w->objectName().toStdString();
  EXPECT_TRUE(WaitUntil([&] { return Focused() == "EdDelete"; }));
  // Counting again leaves the position field as the text choice left it.
  Form.ComboItemToDelete->setCurrentIndex(1);
  EXPECT_FALSE(Shown(Form.EdDeletePos));
  EXPECT_EQ(Form.ComboDeleteFrom->currentIndex(), 3);
}

TEST_F(SettingsPanels, BaseNameShowsItsFieldsButNotTheNumbersPosition) {
  ShowPage(3);
  QTest::mouseClick(Form.ChkBxUseBaseFilename, Qt::LeftButton, {}, QPoint(4, Form.ChkBxUseBaseFilename->height() / 2));
  ASSERT_TRUE(Form.ChkBxUseBaseFilename->isChecked());
  for (QWidget* w : std::initializer_list<QWidget*>{Form.LblBaseFilename, Form.ComboBaseFileName,
                                                     Form.ComboNumberInsertTo})
    EXPECT_TRUE(Form.isVisible() && w->isVisible()) << w->objectName().toStdString();
  EXPECT_FALSE(Shown(Form.EdNumberPos));
  Form.ComboNumberInsertTo->setCurrentIndex(2);
  EXPECT_TRUE(Shown(Form.EdNumberPos));
  Form.ChkBxUseBaseFilename->setChecked(false);
  EXPECT_FALSE(Shown(Form.ComboNumberInsertTo));
  EXPECT_TRUE(Shown(Form.EdNumberPos));  // left as it is
}

TEST_F(SettingsPanels, HidingAFieldKeepsItsValue) {
  ShowPage(1);
  Form.ComboInsertTo->setCurrentIndex(2);
  Form.EdInsertPos->setText("42");
  Form.ComboInsertTo->setCurrentIndex(0);
  EXPECT_EQ(Form.EdInsertPos->text(), "42");
  EXPECT_EQ(Form.UpDownInsertPos->Position(), 42);
}

}  // namespace
}  // namespace vt
