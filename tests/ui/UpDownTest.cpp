// The arrows of a spin field and the number in its edit box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>

#include "ui/UpDown.h"

namespace vt {
namespace {

class UpDown : public testing::Test {
 protected:
  void SetUp() override {
    Arrows.SetRange(1, 20);
    Arrows.SetAssociate(&Edit);
    Arrows.SetPosition(1);
  }
  QWidget Parent;
  QLineEdit Edit{&Parent};
  TUpDown Arrows{&Parent};
};

TEST_F(UpDown, StepsWithinItsLimitsWithoutWrapping) {
  Arrows.Step(-1);
  EXPECT_EQ(Edit.text(), "1");
  for (int i = 0; i < 25; ++i) Arrows.Step(1);
  EXPECT_EQ(Edit.text(), "20");
  EXPECT_EQ(Arrows.Position(), 20);
  Arrows.Step(-1);
  EXPECT_EQ(Edit.text(), "19");
}

TEST_F(UpDown, StartsFromTheNumberTypedIntoTheEditBox) {
  Edit.setText("7");
  Arrows.Step(1);
  EXPECT_EQ(Edit.text(), "8");
  Edit.setText("35");  // above the maximum: the arrows hold it at the limit
  Arrows.Step(1);
  EXPECT_EQ(Edit.text(), "20");
  Edit.setText("");  // no number: the last position counts
  Arrows.Step(-1);
  EXPECT_EQ(Edit.text(), "19");
}

TEST_F(UpDown, ArrowKeysInTheEditBoxStepIt) {
  QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
  QApplication::sendEvent(&Edit, &up);
  QApplication::sendEvent(&Edit, &up);
  EXPECT_EQ(Edit.text(), "3");
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  QApplication::sendEvent(&Edit, &down);
  EXPECT_EQ(Edit.text(), "2");
}

TEST_F(UpDown, SignalsOnlyRealChanges) {
  int changes = 0;
  QObject::connect(&Arrows, &TUpDown::PositionChanged, [&](int) { ++changes; });
  Arrows.Step(-1);  // at the minimum already
  Arrows.Step(1);
  Arrows.SetPosition(2);
  EXPECT_EQ(changes, 1);
}

TEST(UpDownLarge, WritesAndReadsTheLocaleThousandsSeparator) {
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  QLineEdit edit;
  TUpDown arrows;
  arrows.SetRange(0, 32767);
  arrows.SetAssociate(&edit);
  arrows.SetPosition(999);
  arrows.Step(1);
  EXPECT_EQ(edit.text(), "1,000");
  arrows.Step(1);  // reads "1,000" back
  EXPECT_EQ(edit.text(), "1,001");
  arrows.SetPosition(40000);
  EXPECT_EQ(edit.text(), "32,767");
  QLocale::setDefault(saved);
}

}  // namespace
}  // namespace vt
