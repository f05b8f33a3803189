// The "Result" page on its own: its buttons follow the window's commands, and
// it writes and reads the table's result files with their boxes.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QPushButton>
#include <functional>

#include "ModalScript.h"
#include "UiTestApp.h"
#include "results/ResultFile.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"
#include "ui/ResultListView.h"
#include "ui/ResultPage.h"

namespace vt {
namespace {

using test::TModalScript;

void AddRows(TResultTable& table, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i)
    table.AppendRow("img" + std::to_string(i) + ".jpg", "Rome " + std::to_string(i) + ".jpg", "/srv/photos/", "Ok");
}

class ResultPage : public testing::Test {
 protected:
  TResultTable Table;
  TResultLayout Layout;
  TResultPage Page{Table, Layout};
  test::TTempFolder Folder;
};

TEST_F(ResultPage, ItsListShowsTheTableAndItsBoxIsWhatAPassReads) {
  AddRows(Table, 2);
  EXPECT_EQ(&Page.List(), test::Named<TResultListView>(Page, "ListView"));
  EXPECT_EQ(Page.List().model()->rowCount(), 2);
  EXPECT_EQ(&Page.AllRecord(), test::Named<QCheckBox>(Page, "ChkBxAllRecord"));
}

TEST_F(ResultPage, EachButtonFollowsAndRunsItsCommand) {
  QAction load, save, clear;
  save.setEnabled(false);
  Page.LinkCommands(&load, &save, &clear);
  const struct {
    const char* Button;
    QAction* Command;
  } links[] = {{"BtLoadResult", &load}, {"BtSaveAsResult", &save}, {"BtClearResult", &clear}};
  for (const auto& link : links) {
    SCOPED_TRACE(link.Button);
    auto* button = test::Named<QPushButton>(Page, link.Button);
    int runs = 0;
    const auto counted = QObject::connect(link.Command, &QAction::triggered, [&runs] { ++runs; });
    for (const bool enabled : {true, false, true}) {
      link.Command->setEnabled(enabled);
      EXPECT_EQ(button->isEnabled(), enabled);
    }
    button->click();
    EXPECT_EQ(runs, 1);
    QObject::disconnect(counted);
  }
}

TEST_F(ResultPage, SavedRowsComeBackOnLoading) {
  AddRows(Table, 3);
  const std::string path = Folder.File("pass.vtr");
  TModalScript save;
  save.Then(test::ChooseFile(QString::fromStdString(path))).Run([&] { Page.SaveToFile(); });
  EXPECT_EQ(save.Seen(), QStringList{"dialog:SaveDialog1"});
  EXPECT_EQ(test::Contents(path), WriteResultStream(Table, Layout));

  Table.Clear();
  std::optional<std::string> chosen;
  TModalScript choose;
  choose.Then(test::ChooseFile(QString::fromStdString(path))).Run([&] { chosen = Page.ChooseFileToLoad(); });
  EXPECT_EQ(choose.Seen(), QStringList{"dialog:OpenDialog1"});
  ASSERT_TRUE(chosen);
  EXPECT_EQ(*chosen, path);
  EXPECT_TRUE(Page.LoadFile(*chosen));
  EXPECT_EQ(Table.RowCount(), 3u);
  EXPECT_EQ(Page.List().model()->rowCount(), 3);
}

TEST_F(ResultPage, NothingIsAskedOrWrittenForAnEmptyTableOrACancelledDialog) {
  TModalScript empty;
  empty.Run([&] { Page.SaveToFile(); });
  EXPECT_TRUE(empty.Seen().isEmpty());

  AddRows(Table, 1);
  TModalScript cancelled;
  cancelled.Then(test::CancelDialog()).Run([&] { Page.SaveToFile(); });
  EXPECT_EQ(cancelled.Seen(), QStringList{"dialog:SaveDialog1"});
  std::optional<std::string> chosen = "not asked";
  TModalScript load;
  load.Then(test::CancelDialog()).Run([&] { chosen = Page.ChooseFileToLoad(); });
  EXPECT_FALSE(chosen);
  EXPECT_TRUE(std::filesystem::is_empty(Folder.Path()));
}

TEST_F(ResultPage, AFileThatCannotBeLoadedIsRefusedWithItsBox) {
  const struct {
    const char* What;
    std::function<std::string()> File;
    const char* BoxTitle;
  } cases[] = {
      {"missing", [&] { return Folder.File("none.vtr"); }, "Veltrane"},
      {"text",
       [&] {
         test::Put(Folder.File("notes.vtr"), "a shopping list\n");
         return Folder.File("notes.vtr");
       },
       "Error"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    Table.Clear();
    AddRows(Table, 2);
    const std::string path = c.File();
    bool loaded = true;
    TModalScript script;
    script.Then(test::Press(QMessageBox::Ok)).Run([&] { loaded = Page.LoadFile(path); });
    EXPECT_FALSE(loaded);
    ASSERT_EQ(script.Seen().size(), 1);
    EXPECT_TRUE(script.Seen()[0].startsWith(QString(c.BoxTitle) + "|")) << script.Seen()[0].toStdString();
  }
}

}  // namespace
}  // namespace vt
