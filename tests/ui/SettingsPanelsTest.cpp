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
  void ShowPage(int row) { test::Named<QListWidget>(Form, "LstBoxActions")->setCurrentRow(row); }

  TForm1 Form;
};

TEST_F(SettingsPanels, EachOperationShowsItsPage) {
  const QWidget* pages[] = {
      test::Named<QWidget>(Form, "TabSheetSetSearch"),        test::Named<QWidget>(Form, "TabSheetSetInsert"),
      test::Named<QWidget>(Form, "TabSheetSetDelete"),        test::Named<QWidget>(Form, "TabSheetSetNumber"),
      test::Named<QWidget>(Form, "TabSheetSetCaseSensitive"), test::Named<QWidget>(Form, "TabSheetSetTruncate")};
  for (int row : {3, 0, 5, 1, 4, 2}) {
    QTest::mouseClick(test::Named<QListWidget>(Form, "LstBoxActions")->viewport(), Qt::LeftButton, {},
                      test::Named<QListWidget>(Form, "LstBoxActions")
                          ->visualItemRect(test::Named<QListWidget>(Form, "LstBoxActions")->item(row))
                          .center());
    EXPECT_EQ(test::Named<QStackedWidget>(Form, "PageCtrlSettings")->currentWidget(), pages[row]) << row;
  }
}

TEST_F(SettingsPanels, TheKeyboardArrowsSwitchThePageAsAClickDoes) {
  test::Named<QListWidget>(Form, "LstBoxActions")->setFocus();
  for (int i = 0; i < 3; ++i) QTest::keyClick(test::Named<QListWidget>(Form, "LstBoxActions"), Qt::Key_Down);
  EXPECT_EQ(test::Named<QListWidget>(Form, "LstBoxActions")->currentRow(), 3);
  EXPECT_EQ(test::Named<QStackedWidget>(Form, "PageCtrlSettings")->currentWidget(),
            test::Named<QWidget>(Form, "TabSheetSetNumber"));
  QTest::keyClick(test::Named<QListWidget>(Form, "LstBoxActions"), Qt::Key_Up);
  EXPECT_EQ(test::Named<QStackedWidget>(Form, "PageCtrlSettings")->currentWidget(),
            test::Named<QWidget>(Form, "TabSheetSetDelete"));
}

TEST_F(SettingsPanels, NoSelectionLeavesThePage) {
  ShowPage(4);
  test::Named<QListWidget>(Form, "LstBoxActions")->setCurrentRow(-1);
  EXPECT_EQ(test::Named<QStackedWidget>(Form, "PageCtrlSettings")->currentWidget(),
            test::Named<QWidget>(Form, "TabSheetSetCaseSensitive"));
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
      {2,
       "ComboItemToDelete",
       1,
       {"LabelNnrDelete", "EdNbrDelete", "UpDownNbrDelete", "ComboDeleteFrom"},
       {"EdDelete", "ChkBxCaseSensDel", "ChkBxDelRecursive", "EdDeletePos", "UpDownDeletePos"},
       "EdNbrDelete"},
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
    test::Named<QListWidget>(form, "LstBoxActions")->setCurrentRow(c.page);
    test::Named<QListWidget>(form, "LstBoxActions")->setFocus();
    auto* combo = form.findChild<QComboBox*>(c.combo);
    ASSERT_NE(combo, nullptr) << c.combo;
    combo->setCurrentIndex(c.item);
    const std::string label = std::string(c.combo) + " " + std::to_string(c.item);
    for (const QString& name : c.shown)
      EXPECT_TRUE(form.findChild<QWidget*>(name)->isVisible()) << label << " " << name.toStdString();
    for (const QString& name : c.hidden)
      EXPECT_TRUE(form.findChild<QWidget*>(name)->isHidden()) << label << " " << name.toStdString();
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
  test::Named<QComboBox>(Form, "ComboItemToDelete")->setCurrentIndex(1);
  test::Named<QComboBox>(Form, "ComboDeleteFrom")->setCurrentIndex(3);
  EXPECT_TRUE(Shown(test::Named<QLineEdit>(Form, "EdDeletePos")) &&
              Shown(test::Named<TUpDown>(Form, "UpDownDeletePos")));
  test::Named<QComboBox>(Form, "ComboItemToDelete")->setCurrentIndex(0);
  for (QWidget* w : std::initializer_list<QWidget*>{
           test::Named<QLabel>(Form, "LabelNnrDelete"), test::Named<QLineEdit>(Form, "EdNbrDelete"),
           test::Named<TUpDown>(Form, "UpDownNbrDelete"), test::Named<QComboBox>(Form, "ComboDeleteFrom"),
           test::Named<QLineEdit>(Form, "EdDeletePos"), test::Named<TUpDown>(Form, "UpDownDeletePos")})
    EXPECT_FALSE(Shown(w)) << w->objectName().toStdString();
  for (QWidget* w : std::initializer_list<QWidget*>{test::Named<QLineEdit>(Form, "EdDelete"),
                                                    test::Named<QCheckBox>(Form, "ChkBxCaseSensDel"),
                                                    test::Named<QCheckBox>(Form, "ChkBxDelRecursive")})
    EXPECT_TRUE(Shown(w)) << w->objectName().toStdString();
  EXPECT_TRUE(WaitUntil([&] { return Focused() == "EdDelete"; }));
  // Counting again leaves the position field as the text choice left it.
  test::Named<QComboBox>(Form, "ComboItemToDelete")->setCurrentIndex(1);
  EXPECT_FALSE(Shown(test::Named<QLineEdit>(Form, "EdDeletePos")));
  EXPECT_EQ(test::Named<QComboBox>(Form, "ComboDeleteFrom")->currentIndex(), 3);
}

TEST_F(SettingsPanels, BaseNameShowsItsFieldsButNotTheNumbersPosition) {
  ShowPage(3);
  QTest::mouseClick(test::Named<QCheckBox>(Form, "ChkBxUseBaseFilename"), Qt::LeftButton, {},
                    QPoint(4, test::Named<QCheckBox>(Form, "ChkBxUseBaseFilename")->height() / 2));
  ASSERT_TRUE(test::Named<QCheckBox>(Form, "ChkBxUseBaseFilename")->isChecked());
  for (QWidget* w : std::initializer_list<QWidget*>{test::Named<QLabel>(Form, "LblBaseFilename"),
                                                    test::Named<QComboBox>(Form, "ComboBaseFileName"),
                                                    test::Named<QComboBox>(Form, "ComboNumberInsertTo")})
    EXPECT_TRUE(Form.isVisible() && w->isVisible()) << w->objectName().toStdString();
  EXPECT_FALSE(Shown(test::Named<QLineEdit>(Form, "EdNumberPos")));
  test::Named<QComboBox>(Form, "ComboNumberInsertTo")->setCurrentIndex(2);
  EXPECT_TRUE(Shown(test::Named<QLineEdit>(Form, "EdNumberPos")));
  test::Named<QCheckBox>(Form, "ChkBxUseBaseFilename")->setChecked(false);
  EXPECT_FALSE(Shown(test::Named<QComboBox>(Form, "ComboNumberInsertTo")));
  EXPECT_TRUE(Shown(test::Named<QLineEdit>(Form, "EdNumberPos")));  // left as it is
}

TEST_F(SettingsPanels, HidingAFieldKeepsItsValue) {
  ShowPage(1);
  test::Named<QComboBox>(Form, "ComboInsertTo")->setCurrentIndex(2);
  test::Named<QLineEdit>(Form, "EdInsertPos")->setText("42");
  test::Named<QComboBox>(Form, "ComboInsertTo")->setCurrentIndex(0);
  EXPECT_EQ(test::Named<QLineEdit>(Form, "EdInsertPos")->text(), "42");
  EXPECT_EQ(test::Named<TUpDown>(Form, "UpDownInsertPos")->Position(), 42);
}

}  // namespace
}  // namespace vt
