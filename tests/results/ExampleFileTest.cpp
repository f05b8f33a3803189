// The file a run without any simulation writes for one row, byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "passes/ResultTable.h"
#include "results/ResultFile.h"
#include "support/RowTexts.h"
#include "support/TableWithLayout.h"

namespace vt {
using test::TTableWithLayout;
namespace {

std::string FromHex(std::string_view hex) {
  std::string out;
  int high = -1;
  for (char c : hex) {
    int v;
    if (c >= '0' && c <= '9')
      v = c - '0';
    else if (c >= 'A' && c <= 'F')
      v = c - 'A' + 10;
    else
      continue;
    if (high < 0) {
      high = v;
    } else {
      out.push_back(static_cast<char>(high * 16 + v));
      high = -1;
    }
  }
  return out;
}

// Group by group as the file layout lists them; texts spelled out as bytes.
const std::string kExample = FromHex(
    // header: "TPF0", "TListView", "ListView"
    "54 50 46 30  09 54 4C 69 73 74 56 69 65 77  08 4C 69 73 74 56 69 65 77"
    // Left, Top, Width 612, Height 286
    "04 4C 65 66 74 02 00"
    "03 54 6F 70 02 00"
    "05 57 69 64 74 68 03 64 02"
    "06 48 65 69 67 68 74 03 1E 01"
    // Align alClient
    "05 41 6C 69 67 6E 07 08 61 6C 43 6C 69 65 6E 74"
    // Columns
    "07 43 6F 6C 75 6D 6E 73 0E"
    "01 07 43 61 70 74 69 6F 6E 06 04 46 69 6C 65 05 57 69 64 74 68 03 96 00 00"
    "01 07 43 61 70 74 69 6F 6E 06 08 4E 65 77 20 4E 61 6D 65 05 57 69 64 74 68 03 96 00 00"
    "01 07 43 61 70 74 69 6F 6E 06 04 50 61 74 68 05 57 69 64 74 68 03 B0 00 00"
    "01 07 43 61 70 74 69 6F 6E 06 06 53 74 61 74 75 73 05 57 69 64 74 68 03 82 00 00"
    "00"
    // ReadOnly
    "08 52 65 61 64 4F 6E 6C 79 09"
    // Items.Data
    "0A 49 74 65 6D 73 2E 44 61 74 61 0A 33 00 00 00"
    "33 00 00 00 01 00 00 00"
    "00 00 00 00 FF FF FF FF FF FF FF FF 03 00 00 00 00 00 00 00"
    "05 61 2E 74 78 74  05 62 2E 74 78 74  07 43 3A 5C 44 61 74 61  02 4F 6B"
    // TabOrder, ViewStyle
    "08 54 61 62 4F 72 64 65 72 02 00"
    "09 56 69 65 77 53 74 79 6C 65 07 08 76 73 52 65 70 6F 72 74"
    // end of properties, end of components
    "00 00");

TEST(ExampleFile, OneRowWithoutSimulationIsThe297Bytes) {
  ASSERT_EQ(kExample.size(), 297u);
  TTableWithLayout table;
  table.AppendRow("a.txt", "b.txt", "C:\\Data", "Ok");
  EXPECT_EQ(WriteResultStream(table, table), kExample);
}

TEST(ExampleFile, ReadsBackIntoTheRowAndLayout) {
  TTableWithLayout table;
  table.AppendRow("old", "", "", "");
  table.SetColumnWidth(2, 99);
  ASSERT_TRUE(ReadResultStream(kExample, table, table));
  ASSERT_EQ(table.RowCount(), 1u);
  const TResultRow& row = table.Row(0);
  EXPECT_EQ(test::RowTexts(row), (std::vector<std::string>{"a.txt", "b.txt", "C:\\Data", "Ok"}));
  EXPECT_EQ(row.KnownStatus(), TRenameStatus::rsOk);
  EXPECT_EQ(row.ImageNo(), 0);
  EXPECT_EQ(row.StateImageNo(), -1);
  EXPECT_EQ(row.OverlayNo(), -1);
  EXPECT_EQ(row.UserWord(), 0);
  EXPECT_EQ(table.Columns()[2].Width, 176);
  EXPECT_FALSE(table.FontChanged());
  EXPECT_EQ(table.Width, 612);
  EXPECT_EQ(table.Height, 286);
}

}  // namespace
}  // namespace vt
