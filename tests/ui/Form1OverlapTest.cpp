// Nothing on the window is clipped or covered: visible controls that share a
// parent do not overlap, in the start-up state and in every state the settings
// pages can be switched to, and each caption fits its control.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>

#include "UiTestApp.h"
#include "ui/Form1.h"
#include "ui/FrmAbout.h"
#include "ui/UpDown.h"

namespace vt {
namespace {

// Pairs of visible siblings whose rectangles intersect.
QStringList Overlaps(const QWidget* parent) {
  QList<QWidget*> shown;
  for (QWidget* child : parent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
    if (!child->isHidden() && !child->isWindow() && !child->objectName().isEmpty()) shown << child;
  QStringList overlaps;
  for (qsizetype i = 0; i < shown.size(); ++i)
    for (qsizetype j = i + 1; j < shown.size(); ++j)
      if (shown[i]->geometry().intersects(shown[j]->geometry()))
        overlaps << shown[i]->objectName() + "/" + shown[j]->objectName();
  return overlaps;
}

// Every visible child stays inside its parent.
QStringList Outside(const QWidget* parent) {
  QStringList outside;
  for (QWidget* child : parent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
    if (!child->isHidden() && !child->objectName().isEmpty() && !parent->rect().contains(child->geometry()))
      outside << child->objectName();
  return outside;
}

void ExpectClear(const QWidget* parent) {
  SCOPED_TRACE(parent->objectName().toStdString());
  EXPECT_EQ(Overlaps(parent), QStringList());
  EXPECT_EQ(Outside(parent), QStringList());
}

void SetShown(std::initializer_list<QWidget*> widgets, bool shown) {
  for (QWidget* w : widgets) w->setVisible(shown);
}

class Form1Overlap : public testing::Test {
 protected:
  void SetUp() override {
    Form.show();
    ASSERT_TRUE(test::WaitUntil([&] { return Form.isVisible(); }));
  }
  TForm1 Form;
};

TEST_F(Form1Overlap, StartUpState) {
  for (const QWidget* parent :
       {test::Named<QWidget>(Form, "ClientArea"), static_cast<QWidget*>(test::Named<QFrame>(Form, "Panel1")),
        static_cast<QWidget*>(test::Named<QGroupBox>(Form, "GroupBoxTreatments")),
        static_cast<QWidget*>(test::Named<QGroupBox>(Form, "GroupBoxActions"))})
    ExpectClear(parent);
  for (int i = 0; i < test::Named<QStackedWidget>(Form, "PageCtrlSettings")->count(); ++i)
    ExpectClear(test::Named<QStackedWidget>(Form, "PageCtrlSettings")->widget(i));
}

TEST_F(Form1Overlap, ResultPage) {
  test::Named<QTabWidget>(Form, "PageControl1")->setCurrentWidget(test::Named<QWidget>(Form, "TabSheetResults"));
  ASSERT_TRUE(test::WaitUntil([&] { return test::Named<QFrame>(Form, "Panel2")->isVisible(); }));
  ExpectClear(test::Named<QWidget>(Form, "TabSheetResults"));
  ExpectClear(test::Named<QFrame>(Form, "Panel2"));
}

TEST_F(Form1Overlap, OffsetFieldsShown) {
  SetShown({test::Named<QLineEdit>(Form, "EdInsertPos"), test::Named<TUpDown>(Form, "UpDownInsertPos"),
            test::Named<QLineEdit>(Form, "EdNbrTruncate"), test::Named<TUpDown>(Form, "UpDownNbrTruncate")},
           true);
  ExpectClear(test::Named<QWidget>(Form, "TabSheetSetInsert"));
  ExpectClear(test::Named<QWidget>(Form, "TabSheetSetTruncate"));
}

TEST_F(Form1Overlap, RemoveByNumberOfCharacters) {
  SetShown({test::Named<QLineEdit>(Form, "EdDelete"), test::Named<QCheckBox>(Form, "ChkBxCaseSensDel"),
            test::Named<QCheckBox>(Form, "ChkBxDelRecursive")},
           false);
  SetShown({test::Named<QLabel>(Form, "LabelNnrDelete"), test::Named<QLineEdit>(Form, "EdNbrDelete"),
            test::Named<TUpDown>(Form, "UpDownNbrDelete"), test::Named<QComboBox>(Form, "ComboDeleteFrom"),
            test::Named<QLineEdit>(Form, "EdDeletePos"), test::Named<TUpDown>(Form, "UpDownDeletePos")},
           true);
  ExpectClear(test::Named<QWidget>(Form, "TabSheetSetDelete"));
}

TEST_F(Form1Overlap, NumberWithBaseNameAndPosition) {
  SetShown({test::Named<QLabel>(Form, "LblBaseFilename"), test::Named<QComboBox>(Form, "ComboBaseFileName"),
            test::Named<QComboBox>(Form, "ComboNumberInsertTo"), test::Named<QLineEdit>(Form, "EdNumberPos"),
            test::Named<TUpDown>(Form, "UpDownNumberPos")},
           true);
  ExpectClear(test::Named<QWidget>(Form, "TabSheetSetNumber"));
}

TEST_F(Form1Overlap, LabelsAndCheckBoxesShowTheirWholeCaption) {
  for (QLabel* label : Form.findChildren<QLabel*>()) {
    if (label->text().isEmpty()) continue;
    SCOPED_TRACE(label->objectName().toStdString());
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
  }
  for (QCheckBox* box : Form.findChildren<QCheckBox*>()) {
    SCOPED_TRACE(box->objectName().toStdString());
    const QStyle* style = box->style();
    EXPECT_LE(style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) +
                  style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box) +
                  box->fontMetrics().horizontalAdvance(box->text()),
              box->width());
    EXPECT_GE(box->height(), box->fontMetrics().height());
  }
  for (QComboBox* combo : Form.findChildren<QComboBox*>()) {
    SCOPED_TRACE(combo->objectName().toStdString());
    EXPECT_GE(combo->height(), combo->fontMetrics().height() + 4);
  }
}

TEST(FrmAboutLayout, TextsFitTheirLabels) {
  TFrmAbout about;
  for (QLabel* label : about.findChildren<QLabel*>()) {
    if (label->text().isEmpty()) continue;
    SCOPED_TRACE(label->objectName().toStdString());
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
    EXPECT_LE(label->fontMetrics().height(), label->height() + 1);
    EXPECT_TRUE(about.rect().contains(label->geometry()));
  }
}

}  // namespace
}  // namespace vt
