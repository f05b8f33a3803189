// Recover an earlier pass in the window: the kept passes listed in a model,
// read off the window's thread; the one chosen loaded for Recover; and a pass
// whose files later passes renamed again undone together with them, newest first.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ModalScript.h"
#include "UiTestApp.h"
#include "passes/PassJournalWriter.h"
#include "passes/RunControl.h"
#include "results/PassHistory.h"
#include "results/ResultFile.h"
#include "ui/Form1.h"
#include "ui/HistoryWindow.h"

namespace vt {
namespace {

namespace fs = std::filesystem;
using test::WaitUntil;

// A rename pass of the files, old to new names, done on the disk and journaled as ended.
void Pass(const std::string& records, const std::string& name, std::uint64_t started, const std::string& folder,
          const std::vector<std::pair<std::string, std::string>>& renames) {
  TPassJournalWriter writer;
  ASSERT_TRUE(writer.Create(records + name, TDurability::Kernel,
                            {TJournalKind::Rename, started, folder, "insert \"x\" at the start; *.*"}));
  std::vector<TJournalEntry> entries;
  for (std::size_t i = 0; i < renames.size(); ++i) {
    entries.push_back({i, folder, renames[i].first, renames[i].second, TRenameStatus::rsCanBeRenamed, 0, true});
    fs::rename(folder + renames[i].first, folder + renames[i].second);
  }
  ASSERT_TRUE(writer.Intend(entries));
  for (TJournalEntry& entry : entries) entry.Status = TRenameStatus::rsOk;
  writer.Settled(entries);
  ASSERT_TRUE(writer.Finish(TJournalEnd::Completed));
}

class HistoryWindowTest : public ::testing::Test {
 protected:
  HistoryWindowTest() : Records(test::RecordsFolderForTests().toStdString()) {
    std::error_code ignored;
    fs::remove_all(Records, ignored);  // the test program's own folder
    fs::create_directories(Records);
    fs::permissions(Records, fs::perms::owner_all);
  }
  std::string Here() const { return Folder.path().toStdString() + "/"; }
  void File(const std::string& name) const { std::ofstream(Here() + name) << name; }
  bool Exists(const std::string& name) const { return fs::exists(Here() + name); }

  QTemporaryDir Folder;
  const std::string Records;
};

TEST_F(HistoryWindowTest, ListsThePassesNewestFirstInItsModelAndHandsOnTheOneChosen) {
  File("a");
  File("c");
  Pass(Records, "2026-12-09_10-00-00.vtj", 100, Here(), {{"a", "b"}});
  Pass(Records, "2026-12-09_10-00-01.vtj", 200, Here(), {{"c", "d"}});
  THistoryWindow window(Records);
  std::optional<std::size_t> chosen;
  window.Chosen = [&](const std::vector<THistoryEntry>&, std::size_t index) { chosen = index; };
  window.ShowHistory();
  EXPECT_EQ(window.objectName(), "HistoryWindow");
  ASSERT_TRUE(WaitUntil([&] { return !window.Reading(); }));
  const QStandardItemModel& model = *test::Named<QStandardItemModel>(window, "HistoryModel");
  ASSERT_EQ(model.rowCount(), 2);
  const QStringList captions{"ID", "Started", "Folder", "Operation", "Ok", "State"};
  for (int column = 0; column < captions.size(); ++column)
    EXPECT_EQ(model.headerData(column, Qt::Horizontal).toString(), captions[column]);
  for (int row = 0; row < 2; ++row) {
    SCOPED_TRACE(row);
    const THistoryEntry& entry = window.Entries()[static_cast<std::size_t>(row)];
    EXPECT_EQ(model.item(row, 0)->text().toStdString(), entry.Id);
    EXPECT_EQ(model.item(row, 2)->text().toStdString(), Here());
    EXPECT_EQ(model.item(row, 3)->text(), "insert \"x\" at the start; *.*");
    EXPECT_EQ(model.item(row, 4)->text(), "1");
    EXPECT_EQ(model.item(row, 5)->text(), "can be undone");
    EXPECT_EQ(model.item(row, 5)->toolTip(), "can be undone");
  }
  EXPECT_EQ(window.Entries()[0].StartedUtcNs, 200U);
  // The keyboard: the list has the focus, Down and Enter choose the older pass.
  QTreeView* list = test::Named<QTreeView>(window, "LstHistory");
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(chosen, 1U);
  QTest::keyClick(list, Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
}

TEST_F(HistoryWindowTest, SaysWhenNoPassIsKept) {
  THistoryWindow window(Records);
  window.ShowHistory();
  ASSERT_TRUE(WaitUntil([&] { return !window.Reading(); }));
  EXPECT_EQ(test::Named<QLabel>(window, "LblHistory")->text(), "No pass is kept.");
  EXPECT_FALSE(test::Named<QPushButton>(window, "BtHistoryLoad")->isEnabled());
}

TEST_F(HistoryWindowTest, AnEarlierPassIsUndoneWithTheLaterOneThatRenamedItsFileAgain) {
  File("a");
  File("q");
  Pass(Records, "2026-12-09_10-00-00.vtj", 100, Here(), {{"a", "b"}, {"q", "r"}});
  Pass(Records, "2026-12-09_10-00-01.vtj", 200, Here(), {{"b", "c"}});
  TForm1 form;
  form.show();
  test::Named<QAction>(form, "HistoryItem")->trigger();
  auto* window = form.findChild<THistoryWindow*>("HistoryWindow");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return !window->Reading(); }));
  ASSERT_EQ(window->Entries().size(), 2U);
  QTreeView* list = test::Named<QTreeView>(*window, "LstHistory");
  list->setCurrentIndex(list->model()->index(1, 0));  // the older pass

  test::TModalScript script;
  QString said;
  script.Then([&](QWidget* modal) {
    said = static_cast<QMessageBox*>(modal)->text();
    EXPECT_EQ(modal->objectName(), "HistoryLaterBox");
    modal->findChild<QAbstractButton*>("BtHistoryTogether")->click();
  });
  script.Run([&] { test::Named<QPushButton>(*window, "BtHistoryLoad")->click(); });
  EXPECT_EQ(script.Unexpected(), 0);
  EXPECT_TRUE(said.startsWith("1 file of this pass was renamed again by a later pass:")) << said.toStdString();
  // The newer pass is loaded first, its folder shown.
  ASSERT_EQ(form.ResultTable().RowCount(), 1U);
  EXPECT_EQ(form.ResultTable().Rows()[0].NewName, "c");
  EXPECT_TRUE(form.PanelText(0).contains(QString::fromStdString(Here()))) << form.PanelText(0).toStdString();
  // One Recover, and the rest follows, the newest first.
  test::Named<QToolButton>(form, "SpBtUndo")->click();
  ASSERT_TRUE(WaitUntil([&] { return Exists("a") && Exists("q") && !form.RunControl().PassAlive(); }));
  EXPECT_FALSE(Exists("b"));
  EXPECT_FALSE(Exists("c"));
  EXPECT_FALSE(Exists("r"));
  ASSERT_TRUE(WaitUntil([&] { return !window->Reading() && window->Entries().size() == 2; }));
  const std::vector<THistoryEntry> after = ReadHistory(Records);
  ASSERT_EQ(after.size(), 2U);
  for (const THistoryEntry& entry : after) EXPECT_EQ(entry.State, TPassState::Undone) << entry.Id;
}

// An older version's result file whose journal is gone is listed as an
// orphan, and choosing it loads its rows for Recover as Load Result would.
TEST_F(HistoryWindowTest, AnOrphanIsListedForWhatItIsAndChoosingItLoadsItsRows) {
  File("b");
  TResultTable orphan;
  orphan.AppendRows({TResultRow::FromTexts("a", "b", Here(), "Ok")});
  ASSERT_TRUE(SaveResultFile(orphan, Records + "2026-12-08_09-00-00.vtr"));
  TForm1 form;
  form.show();
  test::Named<QAction>(form, "HistoryItem")->trigger();
  auto* window = form.findChild<THistoryWindow*>("HistoryWindow");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return !window->Reading(); }));
  const QStandardItemModel& model = *test::Named<QStandardItemModel>(*window, "HistoryModel");
  ASSERT_EQ(model.rowCount(), 1);
  EXPECT_EQ(model.item(0, 5)->text(), "orphan, no journal");
  EXPECT_EQ(model.item(0, 2)->text().toStdString(), Here());
  EXPECT_EQ(model.item(0, 4)->text(), "1");
  test::TModalScript script;
  script.Run([&] { test::Named<QPushButton>(*window, "BtHistoryLoad")->click(); });
  EXPECT_EQ(script.Unexpected(), 0);
  ASSERT_EQ(form.ResultTable().RowCount(), 1U);
  EXPECT_EQ(form.ResultTable().Rows()[0].NewName, "b");
  test::Named<QToolButton>(form, "SpBtUndo")->click();
  ASSERT_TRUE(WaitUntil([&] { return Exists("a") && !form.RunControl().PassAlive(); }));
  EXPECT_FALSE(Exists("b"));
}

}  // namespace
}  // namespace vt
