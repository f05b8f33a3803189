// The window's texts follow the palette: readable with light and dark palettes.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QStyle>
#include <QStyleFactory>
#include <memory>

#include "UiTestApp.h"
#include "passes/ResultTable.h"
#include "ui/Form1.h"
#include "ui/PaletteColours.h"
#include "ui/ResultListView.h"
#include "ui/ResultTableModel.h"

namespace vt {
namespace {

QPalette LightFusion() {
  std::unique_ptr<QStyle> fusion(QStyleFactory::create("Fusion"));
  return fusion->standardPalette();
}

QPalette DarkFusion() { return DarkPalette(); }

class Palettes : public ::testing::TestWithParam<bool> {
 protected:
  Palettes() : Kept_(QApplication::palette()) {
    QApplication::setPalette(GetParam() ? DarkFusion() : LightFusion());
    Form = std::make_unique<TForm1>();
    Form->show();
  }
  ~Palettes() override {
    Form.reset();
    QApplication::setPalette(Kept_);
  }
  QPalette Kept_;
  std::unique_ptr<TForm1> Form;
};

// Every enabled text of the window against what it is drawn on.
TEST_P(Palettes, EveryTextReadsAtLeastFourAndAHalfToOne) {
  int checked = 0;
  const auto expectReadable = [&](const QWidget* widget, QPalette::ColorRole text, QPalette::ColorRole ground) {
    if (!widget->isEnabled()) return;
    const QPalette& palette = widget->palette();
    const double ratio = ContrastRatio(palette.color(text), palette.color(ground));
    EXPECT_GE(ratio, 4.5) << widget->objectName().toStdString() << " " << ratio;
    ++checked;
  };
  for (const auto* label : Form->findChildren<QLabel*>())
    expectReadable(label, label->foregroundRole(), QPalette::Window);
  for (const auto* button : Form->findChildren<QAbstractButton*>())
    expectReadable(button, QPalette::ButtonText, QPalette::Button);
  for (const auto* group : Form->findChildren<QGroupBox*>())
    expectReadable(group, QPalette::WindowText, QPalette::Window);
  for (const auto* edit : Form->findChildren<QLineEdit*>()) expectReadable(edit, QPalette::Text, QPalette::Base);
  expectReadable(test::Named<QStatusBar>(*Form, "StatusBar"), QPalette::WindowText, QPalette::Window);
  EXPECT_GT(checked, 40);
}

TEST_P(Palettes, BlackAndGreyRowsFollowThePalette) {
  Form->ResultTable().AppendRow("a.txt", "b.txt", "/d/", "Ok");
  const TResultTableModel* model = test::Named<TResultListView>(*Form, "ListView")->TableModel();
  const auto colour = [&] { return model->data(model->index(0, 0), Qt::ForegroundRole).value<QColor>(); };
  const QPalette palette = QApplication::palette();
  const QColor base = palette.color(QPalette::Base);
  EXPECT_EQ(colour(), palette.color(QPalette::Text));
  Form->ResultTable().StartPassRows(TPassRows::Simulation);
  const QColor grey = colour();
  if (GetParam()) {
    // A tone between text and base: dimmer than the text, still readable.
    EXPECT_GE(ContrastRatio(grey, base), 4.5);
    EXPECT_LT(ContrastRatio(grey, base), ContrastRatio(palette.color(QPalette::Text), base));
  } else {
    EXPECT_EQ(grey, QColor(128, 128, 128));  // the result file's clGray, as it always was
  }
}

INSTANTIATE_TEST_SUITE_P(LightAndDark, Palettes, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& param) { return param.param ? "Dark" : "Light"; });

TEST(PaletteColours, ContrastRatioAndDarkness) {
  EXPECT_NEAR(ContrastRatio(Qt::black, Qt::white), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(Qt::white, Qt::white), 1.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(QColor(128, 128, 128), Qt::white), 3.95, 0.01);
  EXPECT_FALSE(IsDarkPalette(LightFusion()));
  EXPECT_TRUE(IsDarkPalette(DarkFusion()));
  // Colours other than black and grey, as a result file may hold them, show as they are.
  EXPECT_EQ(RowTextColor(0x0000FF, DarkFusion()), QColor(255, 0, 0));
}

}  // namespace
}  // namespace vt
