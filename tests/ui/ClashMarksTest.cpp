// A simulation's clashes marked in the result list and counted in panel 1.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>

#include "UiTestApp.h"
#include "browse/FilterDirectoryListBox.h"
#include "passes/ResultTable.h"
#include "passes/RunControl.h"
#include "platform/CurrentFolder.h"
#include "support/TempFolder.h"
#include "ui/ClashMarks.h"
#include "ui/ErrorReasons.h"
#include "ui/Form1.h"
#include "ui/ResultListView.h"

namespace vt {
namespace {

using test::WaitUntil;

TEST(ClashMarks, TipsNameTheOtherRowOrTheExistingEntry) {
  TResultTable table;
  table.AppendRow("IMG_1.JPG", "IMG.JPG", "/d/", "Can be renamed");
  table.AppendRow("notes.txt", "", "/d/", "No Match");
  table.AppendRow("IMG_2.JPG", "IMG.JPG", "/d/", "Can be renamed");
  table.AppendRow("IMG_3.JPG", "IMG.JPG", "/e/", "Can be renamed");  // another folder
  table.AppendRow("a.txt", "b.txt", "/d/", "Can be renamed");
  table.AppendRow("c.txt", "b.txt", "/d/", "Ok");  // renamed already: no simulation row
  const std::set<std::string> existing{"/d/b.txt"};
  const auto marks = FindClashMarks(table, [&](const std::string& folder, const std::string&, const std::string& name) {
    return existing.count(folder + name) > 0;
  });
  ASSERT_EQ(marks.size(), 3u);
  EXPECT_EQ(marks[0].Row, 0);
  EXPECT_EQ(marks[0].Tip, "\u201CIMG.JPG\u201D is also the new name of \u201CIMG_2.JPG\u201D");
  EXPECT_EQ(marks[1].Row, 2);
  EXPECT_EQ(marks[1].Tip, "\u201CIMG.JPG\u201D is also the new name of \u201CIMG_1.JPG\u201D");
  EXPECT_EQ(marks[2].Row, 4);
  EXPECT_EQ(marks[2].Tip, "\u201Cb.txt\u201D exists already in this folder");
  EXPECT_EQ(ClashCountText(12), "12 new names clash");
  EXPECT_EQ(ClashCountText(1), "1 new name clashes");
}

class ClashesInTheWindow : public ::testing::Test {
 protected:
  ClashesInTheWindow() {
    Folder_ = Temp_.Path().string();
    Form = std::make_unique<TForm1>();
    test::Named<TFilterDirectoryListBox>(*Form, "FilterDirectoryListBox1")->SetFolder(Folder_);
    // Truncate names to 3 characters.
    test::Named<QListWidget>(*Form, "LstBoxActions")->setCurrentRow(5);
    test::Named<QComboBox>(*Form, "ComboTruncateTo")->setCurrentIndex(1);
    test::Named<QLineEdit>(*Form, "EdNbrTruncate")->setText("3");
    Form->show();
  }
  ~ClashesInTheWindow() override {
    Form.reset();
    SetCurrentFolder(Kept_);
  }
  void File(const std::string& name) const { std::ofstream(Folder_ + "/" + name) << "x"; }
  TClashMarks* Marks() const {
    return dynamic_cast<TClashMarks*>(test::Named<TResultListView>(*Form, "ListView")->itemDelegate());
  }
  int RowOf(const std::string& caption) const {
    for (std::size_t i = 0; i < Form->ResultTable().RowCount(); ++i)
      if (Form->ResultTable().Row(i).OldName == caption) return int(i);
    return -1;
  }
  bool Simulate() {
    test::Named<QPushButton>(*Form, "BtSimul")->click();
    return WaitUntil([&] { return !Form->RunControl().PassAlive(); }) &&
           WaitUntil([&] { return Marks()->Count() > 0 || !Form->PanelText(1).isEmpty(); },
                     std::chrono::milliseconds(500));
  }

  std::string Kept_ = GetCurrentFolder();
  test::TTempFolder Temp_;  // made before the window, removed after it
  std::string Folder_;
  std::unique_ptr<TForm1> Form;
};

TEST_F(ClashesInTheWindow, ASimulationMarksItsClashesAndCountsThem) {
  for (int i = 0; i < 12; ++i) File("IMG_" + std::to_string(1000 + i) + ".JPG");
  File("ABCDEF.TXT");
  File("ABC.TXT");  // the name ABCDEF.TXT would get
  File("XY.TXT");   // short enough: no change
  ASSERT_NE(Marks(), nullptr);
  ASSERT_TRUE(Simulate()) << Form->PanelText(0).toStdString() << "|" << Form->PanelText(1).toStdString() << "|"
                          << Form->ResultTable().RowCount() << "|" << [&] {
                               std::string all;
                               for (const auto& row : Form->ResultTable().Rows())
                                 all += row.OldName + ">" + row.NewName + "@" + std::string(row.Path()) + ":" +
                                        std::string(row.StatusWord()) + " ";
                               return all;
                             }();
  EXPECT_EQ(Form->PanelText(1), "13 new names clash");
  EXPECT_EQ(Marks()->Count(), 13);
  const int abc = RowOf("ABCDEF.TXT");
  ASSERT_GE(abc, 0);
  EXPECT_EQ(Marks()->TipOf(abc), "\u201CABC.TXT\u201D exists already in this folder");
  EXPECT_TRUE(Marks()->TipOf(RowOf("IMG_1000.JPG")).startsWith("\u201CIMG.JPG\u201D is also the new name of "));
  EXPECT_TRUE(Marks()->TipOf(RowOf("XY.TXT")).isEmpty());
  // The status text stays what the pass wrote.
  EXPECT_EQ(Form->ResultTable().Row(std::size_t(abc)).KnownStatus(), TRenameStatus::rsCanBeRenamed);

  // The next simulation without clashes takes the marks and the count away.
  test::Named<QLineEdit>(*Form, "EdNbrTruncate")->setText("20");
  test::Named<QPushButton>(*Form, "BtSimul")->click();
  ASSERT_TRUE(WaitUntil([&] { return !Form->RunControl().PassAlive(); }));
  ASSERT_TRUE(WaitUntil([&] { return Marks()->Count() == 0; }));
  EXPECT_EQ(Form->PanelText(1), "");
}

TEST_F(ClashesInTheWindow, AfterARenameEveryErrorRowSaysWhyAndPanelOneCountsThem) {
  for (int i = 0; i < 5; ++i) File("IMG_" + std::to_string(1000 + i) + ".JPG");
  test::Named<QPushButton>(*Form, "BtRename")->click();
  ASSERT_TRUE(WaitUntil([&] { return !Form->RunControl().PassAlive(); }));
  ASSERT_TRUE(WaitUntil([&] { return Form->PanelText(1) == "4 errors"; })) << Form->PanelText(1).toStdString();
  int errors = 0;
  for (std::size_t i = 0; i < Form->ResultTable().RowCount(); ++i) {
    const bool error = Form->ResultTable().Row(i).KnownStatus() == TRenameStatus::rsError;
    errors += error;
    // The system's own message: the new name exists already.
    EXPECT_EQ(Marks()->TipOf(int(i)), error ? qt_error_string(EEXIST) : QString()) << i;
  }
  EXPECT_EQ(errors, 4);
  EXPECT_EQ(Marks()->Count(), 0);  // no clash marks after a real pass
  // Clearing the table takes the reasons away.
  Form->ResultTable().Clear();
  EXPECT_TRUE(Form->ErrorReasons()->Reasons().isEmpty());
}

TEST_F(ClashesInTheWindow, AStoppedSimulationIsNotMarked) {
  for (int i = 0; i < 3000; ++i) File("IMG_" + std::to_string(10000 + i) + ".JPG");
  test::Named<QPushButton>(*Form, "BtSimul")->click();
  // At once: the window has not taken the pass's end yet, however far the worker got.
  ASSERT_TRUE(Form->RunControl().PassAlive());
  test::Named<QPushButton>(*Form, "BtCancel")->click();
  ASSERT_TRUE(WaitUntil([&] { return !Form->RunControl().PassAlive(); }));
  ASSERT_TRUE(WaitUntil([&] { return test::Named<QPushButton>(*Form, "BtSimul")->isEnabled(); }));
  // Given the time a finished simulation takes to be marked, none comes.
  EXPECT_FALSE(WaitUntil([&] { return Marks()->Count() > 0; }, std::chrono::milliseconds(300)));
  EXPECT_NE(Form->PanelText(1), ClashCountText(Form->ResultTable().RowCount()));
}

}  // namespace
}  // namespace vt
