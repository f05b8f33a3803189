// The title counts the rows of a running pass; the list follows the newest rows.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "UiTestApp.h"
#include "browse/FilterDirectoryListBox.h"
#include "passes/RunControl.h"
#include "platform/CurrentFolder.h"
#include "support/TempFolder.h"
#include "ui/Form1.h"
#include "ui/ResultListView.h"
#include "ui/WindowTitleProgress.h"

namespace vt {
namespace {

using test::WaitUntil;

TEST(ProgressTitle, GroupsAsTheLocaleDoesOrWithAComma) {
  const QLocale kept;
  const struct {
    QLocale locale;
    long long rows;
    QString title;
  } cases[] = {
      {QLocale::c(), 0, "Veltrane \u2013 0 files"},
      {QLocale::c(), 1, "Veltrane \u2013 1 file"},
      {QLocale::c(), 16598, "Veltrane \u2013 16,598 files"},
      {QLocale(QLocale::English, QLocale::UnitedStates), 1234567, "Veltrane \u2013 1,234,567 files"},
      {QLocale(QLocale::German, QLocale::Germany), 16598, "Veltrane \u2013 16.598 files"},
  };
  for (const auto& c : cases) {
    QLocale::setDefault(c.locale);
    EXPECT_EQ(ProgressTitle("Veltrane", c.rows), c.title) << c.locale.name().toStdString();
  }
  QLocale::setDefault(kept);
}

class TitleDuringAPass : public ::testing::Test {
 protected:
  TitleDuringAPass() {
    Folder_ = Temp_.Path().string();
    for (int i = 0; i < kFiles; ++i) std::ofstream(Folder_ + "/f" + std::to_string(i) + ".txt") << "x";
    Form = std::make_unique<TForm1>();
    test::Named<TFilterDirectoryListBox>(*Form, "FilterDirectoryListBox1")->SetFolder(Folder_);
    test::Named<QCheckBox>(*Form, "ChkBxAllRecord")->setChecked(true);
    // Insert "x" at the beginning of every name.
    test::Named<QListWidget>(*Form, "LstBoxActions")->setCurrentRow(1);
    test::Named<QLineEdit>(*Form, "EdInsert")->setText("x");
    test::Named<QComboBox>(*Form, "ComboInsertTo")->setCurrentIndex(1);
    Form->show();
  }
  ~TitleDuringAPass() override {
    Form.reset();
    SetCurrentFolder(Kept_);
  }
  static constexpr int kFiles = 3000;
  std::string Kept_ = GetCurrentFolder();
  test::TTempFolder Temp_;  // made before the window, removed after it
  std::string Folder_;
  std::unique_ptr<TForm1> Form;
};

TEST_F(TitleDuringAPass, CountsTheRowsAndGoesBackAtTheEnd) {
  EXPECT_EQ(Form->windowTitle(), "Veltrane");
  QStringList seen;
  QObject::connect(Form.get(), &QWidget::windowTitleChanged, [&](const QString& title) { seen << title; });
  test::Named<QPushButton>(*Form, "BtSimul")->click();
  ASSERT_TRUE(WaitUntil([&] { return !Form->RunControl().PassAlive(); }));
  ASSERT_TRUE(WaitUntil([&] { return Form->windowTitle() == "Veltrane"; }));
  // Counted on the way, never beyond the rows there were.
  ASSERT_GE(seen.size(), 2);
  EXPECT_TRUE(seen.front().startsWith("Veltrane \u2013 ")) << seen.front().toStdString();
  for (const QString& title : seen.mid(0, seen.size() - 1)) {
    const QString count = title.section(' ', 2, 2).remove(',');
    EXPECT_LE(count.toInt(), kFiles) << title.toStdString();
  }
  EXPECT_EQ(seen.back(), "Veltrane");
}

TEST_F(TitleDuringAPass, TheListFollowsTheNewestRowsUnlessScrolledAway) {
  const QScrollBar* bar = test::Named<TResultListView>(*Form, "ListView")->verticalScrollBar();
  test::Named<QPushButton>(*Form, "BtSimul")->click();
  ASSERT_TRUE(WaitUntil([&] { return !Form->RunControl().PassAlive(); }));
  // The range follows the rows once the view has laid them out.
  EXPECT_TRUE(WaitUntil([&] { return bar->maximum() > 0 && bar->value() == bar->maximum(); }))
      << bar->value() << " of " << bar->maximum();

  // Scrolled to the top during the next pass, the list stays there.
  test::Named<QPushButton>(*Form, "BtSimul")->click();
  // Scrolled once the view has a range: at a range of 0 the top is also the end.
  ASSERT_TRUE(WaitUntil([&] {
    return test::Named<TResultListView>(*Form, "ListView")->model()->rowCount() > 100 && bar->maximum() > 0;
  }));
  test::Named<TResultListView>(*Form, "ListView")->verticalScrollBar()->setValue(0);
  ASSERT_TRUE(WaitUntil([&] { return !Form->RunControl().PassAlive(); }));
  EXPECT_EQ(bar->value(), 0);
}

}  // namespace
}  // namespace vt
