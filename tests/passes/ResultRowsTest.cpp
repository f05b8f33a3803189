#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/Messages.h"
#include "engine/RenameStatus.h"
#include "passes/ResultTable.h"

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
  void LayoutChanged() override { Events.push_back("layout"); }
};

TEST(ResultTableTest, StartsWithTheFourColumnsAndNoRows) {
  const TResultTable table;
  ASSERT_EQ(table.Columns().size(), 4u);
  const std::vector<std::pair<std::string, int>> expected = {
      {"File", 150}, {"New Name", 150}, {"Path", 176}, {"Status", 130}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(table.Columns()[i].Caption, expected[i].first);
    EXPECT_EQ(table.Columns()[i].Width, expected[i].second);
  }
  EXPECT_EQ(table.RowCount(), 0u);
  EXPECT_EQ(table.Font().Color, TextColor::Black);
  EXPECT_FALSE(table.FontChanged());
}

TEST(ResultTableTest, APassRowHasThreeCellsAndTheNumbersARowFileCarries) {
  TResultTable table;
  table.AppendRow("a.txt", "b.txt", "/data/", "Ok");
  ASSERT_EQ(table.RowCount(), 1u);
  const TResultRow& row = table.Row(0);
  EXPECT_EQ(row.Caption, "a.txt");
  EXPECT_EQ(row.SubItems, (std::vector<std::string>{"b.txt", "/data/", "Ok"}));
  EXPECT_EQ(row.ImageNo, 0);
  EXPECT_EQ(row.StateImageNo, -1);
  EXPECT_EQ(row.OverlayNo, -1);
  EXPECT_EQ(row.UserWord, 0);
  EXPECT_EQ(row.SubItem(3), "");  // a missing cell reads empty
}

// Rows of a cleared table are reused by the next appends: nothing of a row a
// result file brought (more cells, its numbers) may show in a pass's row.
TEST(ResultTableTest, ARowAppendedAfterAClearIsNewInEveryField) {
  TResultTable table;
  TResultRow loaded;
  loaded.Caption = std::string(100, 'c');
  loaded.SubItems = {"n", std::string(300, 'p'), "Error", "extra", "more"};
  loaded.ImageNo = 5;
  loaded.StateImageNo = 2;
  loaded.OverlayNo = 3;
  loaded.UserWord = 77;
  for (int i = 0; i < 3; ++i) table.AppendRow(loaded);
  table.Clear();
  for (int i = 0; i < 4; ++i) table.AppendRow("a.txt", "b.txt", "/data/", "Ok");
  TResultTable fresh;
  fresh.AppendRow("a.txt", "b.txt", "/data/", "Ok");
  ASSERT_EQ(table.RowCount(), 4u);
  for (const TResultRow& row : table.Rows()) {
    EXPECT_EQ(row.Caption, fresh.Row(0).Caption);
    EXPECT_EQ(row.SubItems, fresh.Row(0).SubItems);
    EXPECT_EQ(row.ImageNo, fresh.Row(0).ImageNo);
    EXPECT_EQ(row.StateImageNo, fresh.Row(0).StateImageNo);
    EXPECT_EQ(row.OverlayNo, fresh.Row(0).OverlayNo);
    EXPECT_EQ(row.UserWord, fresh.Row(0).UserWord);
  }
}

TEST(ResultTableTest, ObserverFollowsEveryChange) {
  TResultTable table;
  TRecordingObserver observer;
  table.SetObserver(&observer);
  table.Clear();  // nothing to clear
  table.AppendRow("a", "", "/", "No change");
  table.AppendRow("b", "", "/", "No change");
  table.SetColumnWidth(0, 150);  // unchanged
  table.SetColumnWidth(0, 200);
  table.SetColumnWidth(9, 10);  // no such column
  table.SetTextColor(TextColor::Gray);
  table.Clear();
  EXPECT_EQ(observer.Events, (std::vector<std::string>{"appended 0+1", "appended 1+1", "layout",
                                                       "layout", "cleared"}));
  EXPECT_EQ(table.Columns()[0].Width, 200);
  EXPECT_TRUE(table.FontChanged());
  table.SetTextColor(TextColor::Black);
  EXPECT_TRUE(table.FontChanged());  // once changed, a result file records the font
}

}  // namespace
}  // namespace vt
