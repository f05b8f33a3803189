// A simulation's clashes marked in the result list and counted in panel 1.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <array>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "UiTestApp.h"
#include "browse/FilterDirectoryListBox.h"
#include "engine/Messages.h"
#include "engine/RenameStep.h"
#include "passes/ChainPlan.h"
#include "passes/ResultTable.h"
#include "passes/RunControl.h"
#include "platform/CurrentFolder.h"
#include "results/ResultLayout.h"
#include "support/TempFolder.h"
#include "ui/ClashMarks.h"
#include "ui/ClashMarksLook.h"
#include "ui/ErrorReasons.h"
#include "ui/Form1.h"
#include "ui/Form1PassEvents.h"
#include "ui/ResultListView.h"
#include "ui/ResultTableModel.h"

namespace vt {
namespace {

using test::WaitUntil;

// A row refused for a name that would hide its file says so; the system's
// message names any other failure, and a row that did not fail has no reason.
TEST(ErrorReasons, EveryRefusedRowSaysWhy) {
  TResultTable table;
  TResultLayout layout;
  TResultTableModel model(table, layout);
  TErrorReasons reasons(model);
  reasons.Note(0, TRenameStatus::rsError, kHidingName);
  reasons.Note(1, TRenameStatus::rsError, EEXIST);
  reasons.Note(2, TRenameStatus::rsCanBeRenamed, 0);
  reasons.Note(3, TRenameStatus::rsError, kVolumeRefusesEnd);
  EXPECT_EQ(reasons.Reasons().value(0), "The new name begins with \".\" and would hide the file");
  EXPECT_EQ(reasons.Reasons().value(3), "The volume of this folder refuses a name that ends with a dot or a space");
  EXPECT_EQ(reasons.Reasons().value(1), qt_error_string(EEXIST));
  EXPECT_FALSE(reasons.Reasons().contains(2));
}

TEST(ClashMarks, TipsNameTheOtherRowOrTheExistingEntry) {
  TResultTable table;
  table.AppendRow("IMG_1.JPG", "IMG.JPG", "/d/", "Can be renamed");
  table.AppendRow("notes.txt", "", "/d/", "No Match");
  table.AppendRow("IMG_2.JPG", "IMG.JPG", "/d/", "Can be renamed");
  table.AppendRow("IMG_3.JPG", "IMG.JPG", "/e/", "Can be renamed");  // another folder
  table.AppendRow("a.txt", "b.txt", "/d/", "Can be renamed");
  table.AppendRow("c.txt", "b.txt", "/d/", "Ok");  // renamed already: no simulation row
  const std::set<std::string> existing{"/d/b.txt"};
  const auto marks = FindClashMarks(table, [&](std::string_view folder, std::string_view, std::string_view name) {
    return existing.count(std::string(folder) + std::string(name)) > 0;
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

// The lean count of the clash look gives what the pass's planner counts, on the
// renames of a table whose other rows it must pass over.
TEST(ClashMarks, WaitingRowsAreCountedAsThePlannerCountsThem) {
  struct TCase {
    const char* What;
    std::vector<std::array<const char*, 3>> Renames;  // old name, new name, folder
    std::size_t Waiting;
  };
  const TCase cases[] = {
      {"a chain: the first waits for the second", {{"a", "b", "/d/"}, {"b", "c", "/d/"}}, 1},
      {"a ring of two", {{"a", "b", "/d/"}, {"b", "a", "/d/"}}, 2},
      {"another folder's old name is free", {{"a", "b", "/d/"}, {"b", "c", "/e/"}}, 0},
      {"a case of its own name only", {{"a.txt", "A.TXT", "/d/"}}, 0},
      {"case aside", {{"a", "B", "/d/"}, {"b", "c", "/d/"}}, 1},
      {"one holder, two waiting", {{"x", "a", "/d/"}, {"y", "a", "/d/"}, {"a", "z", "/d/"}}, 2},
      {"nothing shared", {{"a", "b", "/d/"}, {"c", "d", "/d/"}}, 0},
  };
  for (const TCase& c : cases) {
    TResultTable table;
    std::vector<std::uint32_t> renames;
    std::vector<TPlannedEntry> planned;
    table.AppendRow("skipped", "a", "/d/", "No Match");  // not a rename: its names hold nothing
    for (const auto& [oldName, newName, folder] : c.Renames) {
      renames.push_back(std::uint32_t(table.RowCount()));
      table.AppendRow(oldName, newName, folder, "Can be renamed");
    }
    for (const std::uint32_t row : renames)
      planned.push_back({table.Row(row).Path(), table.Row(row).OldName, table.Row(row).NewName, true});
    EXPECT_EQ(CountWaitingRows(table, renames), c.Waiting) << c.What;
    EXPECT_EQ(CountWaitingRenames(planned), c.Waiting) << c.What;
  }
}

// A watch over a table of its own, in a window of which the test plays the
// rest: a pass that has ended on its own, and one command.
class ClashWatch : public ::testing::Test {
 protected:
  ClashWatch() {
    View.setModel(&Model);
    Marks = new TClashMarks(View, 3);
    Watch = new TClashMarksWatch(*Marks, Table,
                                 {[this] { return PassAlive; },
                                  {},
                                  [this](int panel) { return Panels[panel]; },
                                  [this](int panel, const QString& text) { Panels[panel] = text; },
                                  {},
                                  {}},
                                 {&Command});
  }
  // Rows of every kind in the folder: names shared, names taken, rows that are
  // no renames, names given once.
  void Fill(std::size_t rows) {
    for (std::size_t i = 0; i < rows; ++i) {
      const std::string number = std::to_string(i);
      if (i % 4 == 1) Folder.WriteFile("taken" + number);
      Table.AppendRow("f" + number, i % 4 == 1 ? "taken" + number : "n" + std::to_string(i % 3 ? i : i / 6),
                      Folder.Folder(), i % 5 == 4 ? "No Match" : "Can be renamed");
    }
  }
  // What the commands do at the end of a pass.
  void PassEnds() {
    PassAlive = false;
    Panels[0] = QString::fromUtf8(Message(Msg::ProcessOk));
    Command.setEnabled(false);
    Command.setEnabled(true);
  }
  // Turns of the event loop until the watch is settled.
  std::size_t Settle() {
    std::size_t turns = 0;
    for (; Watch->Busy() && turns < 100000; ++turns) QCoreApplication::processEvents();
    return turns;
  }
  void ExpectTheMarksOfALookInOneGo(const std::string& what) const {
    const std::vector<TClashMark> whole = FindClashMarks(Table);
    EXPECT_EQ(Marks->Count(), int(whole.size())) << what;
    for (const TClashMark& mark : whole) EXPECT_EQ(Marks->TipOf(mark.Row), mark.Tip) << what << ", row " << mark.Row;
    EXPECT_EQ(Panels[1], whole.empty() ? QString() : ClashCountText(whole.size())) << what;
  }

  test::TTempFolder Folder;
  TResultTable Table;
  TResultLayout Layout;
  TResultTableModel Model{Table, Layout};
  QTableView View;
  QPushButton Command;
  TClashMarks* Marks = nullptr;
  TClashMarksWatch* Watch = nullptr;
  bool PassAlive = false;
  QString Panels[2];
};

TEST_F(ClashWatch, ALookInSlicesMarksWhatALookInOneGoMarks) {
  const std::size_t steps[] = {1, 4, 16};
  for (const std::size_t step : steps) {
    Watch->SetStepsPerSlice(step);
    // Around the slice's size: its work (rows, names, marks) ends inside a slice,
    // at its edge and past it.
    for (const std::size_t rows : {std::size_t(0), step - 1, step, step + 1, 2 * step + 1, 5 * step}) {
      const std::string what = std::to_string(rows) + " rows, " + std::to_string(step) + " steps a slice";
      Table.Clear();
      Fill(rows);
      PassEnds();
      const std::size_t turns = Settle();
      ASSERT_FALSE(Watch->Busy()) << what;
      ExpectTheMarksOfALookInOneGo(what);
      // A row is looked at in a step of its own: more rows than a slice's steps
      // take more than one turn of the loop.
      if (rows > step) {
        EXPECT_GT(turns, 2u) << what;
      }
    }
  }
  EXPECT_EQ(FindClashMarks(Table).empty(), false);  // the tables had marks to make
}

TEST_F(ClashWatch, AClearedTableDropsTheLookUnderWay) {
  Watch->SetStepsPerSlice(1);
  Fill(40);
  PassEnds();
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  ASSERT_TRUE(Watch->Busy());
  Table.Clear();
  Settle();
  EXPECT_EQ(Marks->Count(), 0);
  EXPECT_EQ(Panels[1], "");
  // Rows that come afterwards carry no mark of the rows gone.
  Fill(3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Marks->TipOf(i), "") << i;
}

TEST_F(ClashWatch, ANewPassDropsTheLookUnderWayAndIsLookedAtWhenItEnds) {
  Watch->SetStepsPerSlice(1);
  Fill(40);
  PassEnds();
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  ASSERT_TRUE(Watch->Busy());
  // The next pass starts: the commands go, the table is emptied and fills again.
  PassAlive = true;
  Panels[0] = "";
  Command.setEnabled(false);
  Table.Clear();
  Fill(9);
  Settle();
  EXPECT_EQ(Marks->Count(), 0) << "no marks while a pass runs";
  EXPECT_EQ(Panels[1], "");
  PassEnds();
  Settle();
  ExpectTheMarksOfALookInOneGo("the new pass");
  EXPECT_GT(Marks->Count(), 0);
}

// Rows reach the window's table moved out of the batch: each keeps its folder
// and names, and a failed row's reason is noted under its own row number, also
// for a second batch.
TEST(ErrorReasons, RowsMovedIntoTheTableKeepTheirNamesAndReasons) {
  TForm1 form;
  TForm1PassEvents events(form);
  const auto folder = std::make_shared<const std::string>("/d/");
  const auto row = [&](const char* oldName, const char* newName, TRenameStatus status, int error) {
    TPassRow made;
    made.Folder = folder;
    made.OldName = oldName;
    made.NewName = newName;
    made.Status = status;
    made.SystemError = error;
    return made;
  };
  std::vector<TPassRow> first{row("a", "b", TRenameStatus::rsOk, 0), row("c", "d", TRenameStatus::rsError, EEXIST)};
  std::vector<TPassRow> second{row("e", "f", TRenameStatus::rsError, EACCES)};
  events.PassRows(first);
  events.PassRows(second);
  const TResultTable& table = form.ResultTable();
  ASSERT_EQ(table.RowCount(), 3u);
  const char* names[][2] = {{"a", "b"}, {"c", "d"}, {"e", "f"}};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(table.Row(i).Path(), "/d/") << i;
    EXPECT_EQ(table.Row(i).OldName, names[i][0]) << i;
    EXPECT_EQ(table.Row(i).NewName, names[i][1]) << i;
  }
  ASSERT_NE(form.ErrorReasons(), nullptr);
  EXPECT_FALSE(form.ErrorReasons()->Reasons().contains(0));
  EXPECT_EQ(form.ErrorReasons()->Reasons().value(1), qt_error_string(EEXIST));
  EXPECT_EQ(form.ErrorReasons()->Reasons().value(2), qt_error_string(EACCES));
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

// The sign sits where it is seen: within the list's viewport, clear of the
// vertical scroll bar, also when the Status column runs on past the list's edge.
TEST_F(ClashesInTheWindow, MarksStayClearOfTheScrollBar) {
  for (int i = 0; i < 60; ++i) File("IMG_" + std::to_string(1000 + i) + ".JPG");
  ASSERT_TRUE(Simulate());
  ASSERT_EQ(Marks()->Count(), 60);
  auto* list = test::Named<TResultListView>(*Form, "ListView");
  const QScrollBar* bar = list->verticalScrollBar();
  ASSERT_TRUE(WaitUntil([&] { return bar->isVisible(); }));
  list->scrollToTop();  // the list followed the newest rows
  const QRect barRect(list->viewport()->mapFromGlobal(bar->mapToGlobal(QPoint(0, 0))), bar->size());
  const int status = 3;
  for (const int width : {list->columnWidth(status), list->viewport()->width(), 2 * list->viewport()->width()}) {
    SCOPED_TRACE(width);
    list->setColumnWidth(status, width);
    const QRect cell = list->visualRect(list->model()->index(0, status));
    const QRect place = Marks()->MarkPlace(cell);
    EXPECT_TRUE(list->viewport()->rect().contains(place)) << place.x() << "," << place.width();
    EXPECT_FALSE(place.intersects(barRect));
    EXPECT_TRUE(cell.contains(place));
    EXPECT_GE(place.width(), 8);
  }
}

TEST_F(ClashesInTheWindow, ASimulationStartedDuringTheLookIsMarkedForItself) {
  auto* watch = dynamic_cast<TClashMarksWatch*>(Form->findChild<QObject*>("ClashMarksWatch"));
  ASSERT_NE(watch, nullptr);
  watch->SetStepsPerSlice(1);
  for (int i = 0; i < 20; ++i) File("IMG_" + std::to_string(1000 + i) + ".JPG");
  auto* simulate = test::Named<QPushButton>(*Form, "BtSimul");
  simulate->click();
  // One turn of the loop at a time: a wait that runs the loop for a while would
  // let the look end.
  const auto lookUnderWay = [&] {
    return !Form->RunControl().PassAlive() && simulate->isEnabled() && watch->Busy() && Form->PanelText(1).isEmpty();
  };
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!lookUnderWay() && std::chrono::steady_clock::now() < until) QCoreApplication::processEvents();
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  ASSERT_TRUE(lookUnderWay());
  // The next simulation gives every file a name of its own.
  test::Named<QLineEdit>(*Form, "EdNbrTruncate")->setText("20");
  simulate->click();
  ASSERT_TRUE(WaitUntil([&] { return !Form->RunControl().PassAlive() && simulate->isEnabled() && !watch->Busy(); }));
  EXPECT_EQ(Marks()->Count(), 0);
  EXPECT_EQ(Form->PanelText(1), "");
  EXPECT_EQ(Form->ResultTable().RowCount(), 20u);
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

// A simulation whose renames made room for each other is looked at in its
// rows' order, the order its renames would be done in: a shift and a swap
// through a temporary name clash nowhere. One that did not let them counts in
// panel 1 the renames that wait for each other, and its tooltip names the option.
TEST(ClashWatchChains, RenamesInOrderOrRenamesThatWait) {
  struct Case {
    const char* What;
    TClashOrder Order;
    int Marks;
    QString Panel;
    bool Tip;
  };
  const Case cases[] = {
      {"made room", TClashOrder::InOrder, 0, QString(), false},
      {"did not", TClashOrder::Grouped, 4, QStringLiteral("5 renames wait for each other"), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    test::TTempFolder folder;
    for (const char* name : {"1", "2", "3", "a", "b"}) folder.WriteFile(name);
    TResultTable table;
    TResultLayout layout;
    TResultTableModel model(table, layout);
    QTableView view;
    view.setModel(&model);
    QPushButton command;
    QString panels[2], tip;
    bool alive = false;
    auto* marks = new TClashMarks(view, 3);
    auto* watch = new TClashMarksWatch(*marks, table,
                                       {[&] { return alive; },
                                        {},
                                        [&](int panel) { return panels[panel]; },
                                        [&](int panel, const QString& text) { panels[panel] = text; },
                                        [&] { return c.Order; },
                                        [&](int panel, const QString& text) {
                                          if (panel == 1) tip = text;
                                        }},
                                       {&command});
    // The rows of a pass with the option: the shift from its end, the swap through a temporary name.
    const std::string temp = ".vt-ring-0123456789abcdef.tmp";
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"3", "4"}, {"2", "3"}, {"1", "2"}, {"a", temp}, {"b", "a"}, {temp, "b"}})
      table.AppendRow(from, to, folder.Folder(), "Can be renamed");
    panels[0] = QString::fromUtf8(Message(Msg::ProcessOk));
    command.setEnabled(false);
    command.setEnabled(true);
    for (int turns = 0; watch->Busy() && turns < 100000; ++turns) QCoreApplication::processEvents();
    EXPECT_EQ(marks->Count(), c.Marks);
    EXPECT_EQ(panels[1], c.Panel);
    EXPECT_EQ(tip.contains(QStringLiteral("Let renames make room for each other")), c.Tip) << tip.toStdString();
  }
  EXPECT_EQ(WaitingText(1), "1 rename waits for another");
}

}  // namespace
}  // namespace vt
