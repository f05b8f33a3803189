// Rows whose renames a result file cannot carry for Recover.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "passes/ResultTable.h"
#include "results/ResultFile.h"
#include "results/UndoFromFile.h"
#include "support/RowTexts.h"

namespace vt {
namespace {

TResultRow Row(std::size_t nameLength, std::size_t pathLength, const std::string& status) {
  return TResultRow::FromTexts(std::string(nameLength, 'o'), std::string(nameLength, 'n'),
                               "/" + std::string(pathLength - 2, 'p') + "/", status);
}

TEST(UndoFromFile, RowsThatAFileCannotUndo) {
  struct Case {
    std::size_t NameLength;
    std::size_t PathLength;
    const char* Status;
    bool Lost;
  };
  const Case cases[] = {
      {10, 251, "Ok", false},  // kept whole, and no cut leaves that length
      {10, 252, "Ok", true},   // kept whole, but a cut before a 4-byte character leaves as much
      {10, 255, "Ok", true},   // kept whole, but a reader cannot tell it from a cut one
      {10, 256, "Ok", true},   // cut
      {10, 4000, "Ok", true},        {10, 300, "Error", false},  // never renamed back anyway
      {10, 300, "No change", false}, {255, 20, "Ok", false},     // the longest name a folder holds is kept whole
      {256, 20, "Ok", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CannotUndoFromFile(Row(c.NameLength, c.PathLength, c.Status)), c.Lost)
        << c.NameLength << " " << c.PathLength << " " << c.Status;
}

TEST(UndoFromFile, CountsOnlyTheLostRowsAndAgreesWithWhatAFileKeeps) {
  TResultTable table;
  table.AppendRow(Row(10, 100, "Ok"));
  table.AppendRow(Row(10, 255, "Ok"));
  table.AppendRow(Row(10, 300, "Error"));
  table.AppendRow(Row(10, 600, "Ok"));
  EXPECT_EQ(CountRowsNotUndoableFromFile(table.Rows()), 2u);

  // What the count calls lost is exactly what comes back different or ambiguous.
  TResultTable loaded;
  ASSERT_TRUE(ReadResultStream(WriteResultStream(table), loaded));
  EXPECT_EQ(loaded.Row(0).Path(), table.Row(0).Path());
  EXPECT_EQ(loaded.Row(1).Path().size(), 255u);
  EXPECT_EQ(loaded.Row(3).Path().size(), 255u);
  EXPECT_EQ(CountRowsNotUndoableFromFile(loaded.Rows()), 2u);
}

// The cut keeps characters whole: before a four-byte one it leaves 252 bytes.
TEST(UndoFromFile, APathCutBeforeAWideCharacterIsLostToo) {
  TResultTable table;
  table.AppendRow("a.txt", "b.txt", "/" + std::string(251, 'p') + "\xf0\x9f\x98\x80/", "Ok");
  EXPECT_TRUE(CannotUndoFromFile(table.Row(0)));

  TResultTable loaded;
  ASSERT_TRUE(ReadResultStream(WriteResultStream(table), loaded));
  EXPECT_EQ(loaded.Row(0).Path(), "/" + std::string(251, 'p'));
  EXPECT_TRUE(CannotUndoFromFile(loaded.Row(0)));
}

// Rows that must go back one after another cannot be undone a batch at a time.
TEST(UndoFromFile, ChainsBetweenRowsAreFound) {
  struct Case {
    const char* Shape;
    std::vector<std::array<const char*, 4>> Rows;  // File, New Name, Path, Status
    bool Chained;
  };
  const std::vector<Case> cases = {
      {"renumber shift", {{"2", "1", "/d/", "Ok"}, {"3", "2", "/d/", "Ok"}}, true},
      {"the later row first", {{"1", "2", "/d/", "Ok"}, {"2", "3", "/d/", "Ok"}}, true},
      {"other folders", {{"2", "1", "/d/", "Ok"}, {"3", "2", "/e/", "Ok"}}, false},
      {"names alike but for case", {{"a", "B", "/d/", "Ok"}, {"c", "A", "/d/", "Ok"}}, true},
      {"case only", {{"a", "A", "/d/", "Ok"}, {"b", "B", "/d/", "Ok"}}, false},
      {"a row that stays", {{"2", "1", "/d/", "Ok"}, {"3", "2", "/d/", "Error"}}, false},
      {"a stranded file", {{"2", "1", "/d/", "Ok"}, {"1", ".vt-00003c930a077140.tmp", "/d/", "Error"}}, true},
      {"unrelated", {{"a", "b", "/d/", "Ok"}, {"c", "d", "/d/", "Ok"}}, false},
  };
  for (const Case& c : cases) {
    TUndoChains chains;
    for (const auto& row : c.Rows) chains.Add(TResultRow::FromTexts(row[0], row[1], row[2], row[3]));
    EXPECT_EQ(chains.Found(), c.Chained) << c.Shape;
  }
}

}  // namespace
}  // namespace vt
