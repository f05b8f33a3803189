// Reading a result file a row at a time must judge every stream as reading it
// whole does, and hand on the same rows.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "MalformedStreams.h"
#include "passes/ResultTable.h"
#include "results/ByteSource.h"
#include "results/FailureKind.h"
#include "results/ResultFile.h"
#include "results/ResultStreamReader.h"
#include "results/RowBlock.h"
#include "support/RowTexts.h"
#include "support/TableWithLayout.h"
#include "support/TempFolder.h"

namespace vt {
using test::FailureKind;
using test::TTableWithLayout;
namespace {

auto Fields(const TResultRow& row) {
  return std::tuple(test::RowTexts(row), row.KnownStatus(), row.ImageNo(), row.StateImageNo(), row.OverlayNo(),
                    row.UserWord());
}

bool StreamRows(std::string_view bytes, std::vector<TResultRow>& rows, TTableWithLayout& table) {
  TMemorySource source(bytes);
  return ReadResultTable(source, table, [&](const TResultRow& row) {
    rows.push_back(row);
    return true;
  });
}

TEST(StreamRead, GivesTheRowsAWholeReadGives) {
  TTableWithLayout written;
  written.AppendRow("a.txt", "b.txt", "/data/", "Ok");
  written.AppendRow("c.txt", "", "/data/", "No change");
  TKeptCells numbers;
  numbers.ImageNo = 7;
  numbers.StateImageNo = 3;
  numbers.OverlayNo = 2;
  numbers.UserWord = -9;
  std::vector<std::string> subs{"1", "2", "3", "4"};
  written.AppendRows({TRowMaker().Make(numbers, "five", subs), TResultRow{}});
  written.Width = 700;
  const std::string bytes = WriteResultStream(written, written);

  TTableWithLayout whole;
  ASSERT_TRUE(ReadResultStream(bytes, whole, whole));
  TTableWithLayout streamed;
  std::vector<TResultRow> rows;
  ASSERT_TRUE(StreamRows(bytes, rows, streamed));
  ASSERT_EQ(rows.size(), whole.RowCount());
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(Fields(rows[i]), Fields(whole.Row(i))) << i;
  EXPECT_EQ(streamed.RowCount(), 0u);  // rows went to the sink, everything else to the table
  EXPECT_EQ(streamed.Width, 700);
}

TEST(StreamRead, EveryMalformedStreamFailsAsAWholeReadFails) {
  for (const test::TMalformedStream& c : test::MalformedStreams()) {
    TTableWithLayout table;
    std::vector<TResultRow> rows;
    EXPECT_FALSE(StreamRows(c.Bytes, rows, table)) << c.Kind;
  }
  TTableWithLayout source;
  source.AppendRow("a.txt", "b.txt", "/data/", "Ok");
  source.AppendRow("c.txt", "", "/data/", "No change");
  const std::string bytes = WriteResultStream(source, source);
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    TTableWithLayout table;
    std::vector<TResultRow> rows;
    EXPECT_FALSE(StreamRows(std::string_view(bytes).substr(0, length), rows, table)) << length;
  }
}

TEST(StreamRead, ASinkThatHasEnoughStopsTheRowsButNotTheRead) {
  TTableWithLayout source;
  for (int i = 0; i < 10; ++i) source.AppendRow(std::to_string(i), "", "/", "Ok");
  const std::string bytes = WriteResultStream(source, source);
  TMemorySource input(bytes);
  TTableWithLayout table;
  int handed = 0;
  EXPECT_TRUE(ReadResultTable(input, table, [&](const TResultRow&) { return ++handed < 3; }));
  EXPECT_EQ(handed, 3);
}

// A table is loaded whole only up to a size; beyond it the file is refused
// before the table loses a row.
TEST(StreamRead, AFileTooLargeToLoadWholeIsRefusedAndTheTableKept) {
  test::TTempFolder dir;
  const std::string path = (dir.Path() / "huge.vtr").string();
  TTableWithLayout source;
  source.AppendRow("a.txt", "b.txt", "/data/", "Ok");
  ASSERT_TRUE(SaveResultFile(source, source, path));
  TTableWithLayout table;
  table.AppendRow("kept", "", "", "Ok");
  ASSERT_TRUE(LoadWholeResultFile(path, table, table));
  EXPECT_EQ(table.RowCount(), 1u);
  EXPECT_EQ(table.Row(0).OldName, "a.txt");
  std::filesystem::resize_file(path, kWholeLoadLimitBytes + 1);  // sparse: costs no disk
  const TResultFileStatus status = LoadWholeResultFile(path, table, table);
  ASSERT_EQ(FailureKind(status), TResultFileError::CannotOpen);
  EXPECT_EQ(status.Error().LoadLimit, kWholeLoadLimitBytes);
  EXPECT_EQ(table.RowCount(), 1u);
  EXPECT_EQ(table.Row(0).OldName, "a.txt");
}

}  // namespace
}  // namespace vt
