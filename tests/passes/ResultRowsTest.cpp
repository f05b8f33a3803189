#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/Messages.h"
#include "engine/RenameStatus.h"
#include "passes/ResultTable.h"
#include "support/RowTexts.h"

namespace vt {
namespace {

TEST(RenameStatusTest, EachCodeHasItsTextAndMessageId) {
  struct Case {
    TRenameStatus Status;
    int Code;
    const char* Text;
    int Id;
  };
  const Case cases[] = {
      {TRenameStatus::rsOk, 0, "Ok", 61214},
      {TRenameStatus::rsError, 1, "Error", 61213},
      {TRenameStatus::rsNoMatch, 2, "No Match", 61212},
      {TRenameStatus::rsNoParameters, 3, "No parameters", 61211},
      {TRenameStatus::rsNoChange, 4, "No change", 61210},
      {TRenameStatus::rsFileNotFound, 5, "File not found", 61209},
      {TRenameStatus::rsCanBeRenamed, 6, "Can be renamed", 61208},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(static_cast<int>(c.Status), c.Code);
    EXPECT_EQ(StatusMessageId(c.Status), c.Id);
    EXPECT_EQ(StatusText(c.Status), c.Text);
    EXPECT_EQ(Message(c.Id), c.Text);
  }
  EXPECT_EQ(Message(Msg::ProcessOk), "Process Ok.");
  EXPECT_EQ(Message(Msg::StoppedByUser), "Process stopped by user...");
  EXPECT_EQ(Message(61184), "");
}

struct TRecordingObserver final : IResultTableObserver {
  std::vector<std::string> Events;
  void RowsAppended(std::size_t first, std::size_t count) override {
    Events.push_back("appended " + std::to_string(first) + "+" + std::to_string(count));
  }
  void RowsCleared() override { Events.push_back("cleared"); }
  void PassRowsStarted(TPassRows rows) override {
    Events.push_back(rows == TPassRows::Simulation ? "simulation" : "renames");
  }
};

TEST(ResultTableTest, APassRowHasThreeCellsAndTheNumbersARowFileCarries) {
  TResultTable table;
  table.AppendRow("a.txt", "b.txt", "/data/", "Ok");
  ASSERT_EQ(table.RowCount(), 1u);
  const TResultRow& row = table.Row(0);
  EXPECT_EQ(test::RowTexts(row), (std::vector<std::string>{"a.txt", "b.txt", "/data/", "Ok"}));
  EXPECT_EQ(row.KnownStatus(), TRenameStatus::rsOk);
  EXPECT_EQ(row.ImageNo(), 0);
  EXPECT_EQ(row.StateImageNo(), -1);
  EXPECT_EQ(row.OverlayNo(), -1);
  EXPECT_EQ(row.UserWord(), 0);
  EXPECT_EQ(row.Cell(4), "");  // a missing cell reads empty
}

// A status is known by its exact text; any other text stays the row's own and
// names no status, so Recover and the clash marks leave the row alone.
TEST(ResultTableTest, RowsOfTextsKnowOnlyTheExactStatusTexts) {
  const struct {
    const char* Text;
    std::optional<TRenameStatus> Status;
  } cases[] = {{"Ok", TRenameStatus::rsOk},
               {"Can be renamed", TRenameStatus::rsCanBeRenamed},
               {"OK", std::nullopt},
               {"can be renamed", std::nullopt},
               {"", std::nullopt}};
  for (const auto& c : cases) {
    const TResultRow row = TResultRow::FromTexts("a", "b", "/", c.Text);
    EXPECT_EQ(row.KnownStatus(), c.Status) << c.Text;
    EXPECT_EQ(row.StatusWord(), c.Text);
  }
}

TEST(ResultTableTest, ALoadedRowShowsTheCellsItHadAndNoMore) {
  const TResultRow five = test::LoadedRow("c", {"n", "/p/", "Error", "extra", "more"});
  EXPECT_EQ(five.KnownStatus(), TRenameStatus::rsError);
  EXPECT_EQ(test::SubTexts(five), (std::vector<std::string>{"n", "/p/", "Error", "extra", "more"}));
  EXPECT_EQ(five.Cell(6), "");
  const TResultRow one = test::LoadedRow("c", {"n"});
  EXPECT_EQ(one.KnownStatus(), std::nullopt);
  EXPECT_EQ(test::RowTexts(one), (std::vector<std::string>{"c", "n"}));
  EXPECT_EQ(one.Cell(2), "");
  EXPECT_EQ(one.Cell(3), "");
}

TEST(ResultTableTest, RowsOfAPassKeepStatusErrnoAndTheSharedFolder) {
  const auto folder = std::make_shared<const std::string>("/data/");
  const TPassRow rows[] = {{folder, "a", "b", 13, TRenameStatus::rsError},
                           {folder, "c", "", 0, TRenameStatus::rsNoChange}};
  TResultTable table;
  table.AppendRows(std::span<const TPassRow>(rows));
  ASSERT_EQ(table.RowCount(), 2u);
  EXPECT_EQ(table.Row(0).KnownStatus(), TRenameStatus::rsError);
  EXPECT_EQ(table.Row(0).SystemError, 13);
  EXPECT_EQ(table.Row(0).StatusWord(), "Error");
  EXPECT_EQ(table.Row(1).Folder.get(), folder.get());
}

TEST(ResultTableTest, ObserverFollowsEveryChange) {
  TResultTable table;
  TRecordingObserver observer;
  table.SetObserver(&observer);
  table.Clear();  // nothing to clear
  table.AppendRow("a", "", "/", "No change");
  table.AppendRow("b", "", "/", "No change");
  table.StartPassRows(TPassRows::Simulation);
  table.StartPassRows(TPassRows::Simulation);  // told again: a view may have changed since
  table.Clear();
  EXPECT_EQ(observer.Events,
            (std::vector<std::string>{"appended 0+1", "appended 1+1", "simulation", "simulation", "cleared"}));
}

}  // namespace
}  // namespace vt
