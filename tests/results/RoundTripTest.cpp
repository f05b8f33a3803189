// What the writer writes, the reader reads back into the same table.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "passes/ResultTable.h"
#include "results/ResultFile.h"
#include "results/RowBlock.h"
#include "support/RowTexts.h"
#include "support/TableWithLayout.h"

namespace vt {
using test::TTableWithLayout;
namespace {

TTableWithLayout TableWithRows(std::size_t count) {
  TTableWithLayout table;
  for (std::size_t i = 0; i < count; ++i)
    table.AppendRow("file" + std::to_string(i) + ".txt", "new" + std::to_string(i) + ".txt", "/home/user/data/",
                    i % 2 ? "Ok" : "Error");
  return table;
}

void ExpectSameRows(const TTableWithLayout& a, const TTableWithLayout& b) {
  ASSERT_EQ(a.RowCount(), b.RowCount());
  for (std::size_t i = 0; i < a.RowCount(); ++i) {
    const TResultRow& x = a.Row(i);
    const TResultRow& y = b.Row(i);
    EXPECT_EQ(test::RowTexts(x), test::RowTexts(y)) << "row " << i;
    EXPECT_EQ(x.KnownStatus(), y.KnownStatus()) << "row " << i;
    EXPECT_EQ(x.ImageNo(), y.ImageNo());
    EXPECT_EQ(x.StateImageNo(), y.StateImageNo());
    EXPECT_EQ(x.OverlayNo(), y.OverlayNo());
    EXPECT_EQ(x.UserWord(), y.UserWord());
  }
}

TTableWithLayout ReadBack(const TTableWithLayout& written) {
  TTableWithLayout read;
  const TResultFileStatus status = ReadResultStream(WriteResultStream(written, written), read, read);
  EXPECT_TRUE(status) << static_cast<int>(status.Error().Kind);
  return read;
}

class RowCountRoundTrip : public testing::TestWithParam<std::size_t> {};

TEST_P(RowCountRoundTrip, KeepsEveryRowInOrder) {
  const TTableWithLayout table = TableWithRows(GetParam());
  ExpectSameRows(table, ReadBack(table));
}

INSTANTIATE_TEST_SUITE_P(Rows, RowCountRoundTrip, testing::Values(0u, 1u, 2u, 5000u));

TEST(RoundTrip, NoRowsMeansNoItemsRecord) {
  const std::string bytes = WriteResultStream(TTableWithLayout());
  EXPECT_EQ(bytes.find("Items.Data"), std::string::npos);
  EXPECT_EQ(bytes.size(), 297u - 67u);
}

TEST(RoundTrip, KeepsTheFiveNumbersAndAnySubItemCount) {
  TTableWithLayout table;
  TRowMaker maker;
  // ImageNo, StateImageNo, OverlayNo and UserWord, the caption and the sub-texts.
  const auto make = [&maker](std::array<std::int32_t, 4> n, std::string caption, std::vector<std::string> subs) {
    TKeptCells numbers;
    numbers.ImageNo = n[0];
    numbers.StateImageNo = n[1];
    numbers.OverlayNo = n[2];
    numbers.UserWord = n[3];
    return maker.Make(numbers, std::move(caption), subs);
  };
  table.AppendRow(make({-70000, 5, 2147483647, -2147483647 - 1}, "bare", {}));
  table.AppendRow(make({0, -1, -1, 0}, "", {"a", "", "c", "d", "e"}));
  table.AppendRow(make({0, -1, -1, 0}, "one", {"b"}));
  table.AppendRow(make({0, -1, -1, 0}, "two", {"b", "/p/"}));
  table.AppendRow(make({1, -1, -1, 0}, "numbered", {"b", "/p/", "Ok"}));
  ExpectSameRows(table, ReadBack(table));
  // A row with no Status cell names no status: Recover leaves it.
  EXPECT_EQ(ReadBack(table).Row(3).KnownStatus(), std::nullopt);
  EXPECT_EQ(ReadBack(table).Row(4).KnownStatus(), TRenameStatus::rsOk);
}

// Status texts as a file may hold them: the program's own become statuses, any
// other is kept as it is, and a file loaded and saved again is the same file.
TEST(RoundTrip, StatusTextsBecomeStatusesOrStayAsTheyAreAndSaveBackByteExact) {
  struct TCase {
    std::string Text;
    std::optional<TRenameStatus> Status;
  };
  const std::vector<TCase> cases{
      {"Ok", TRenameStatus::rsOk},
      {"Error", TRenameStatus::rsError},
      {"No Match", TRenameStatus::rsNoMatch},
      {"No parameters", TRenameStatus::rsNoParameters},
      {"No change", TRenameStatus::rsNoChange},
      {"File not found", TRenameStatus::rsFileNotFound},
      {"Can be renamed", TRenameStatus::rsCanBeRenamed},
      {"OK", std::nullopt},
      {"ok", std::nullopt},
      {"Ok ", std::nullopt},
      {" Ok", std::nullopt},
      {"", std::nullopt},
      {"Renamed", std::nullopt},
      {std::string("Ok\0", 3), std::nullopt},
      {"\xFF\xFE", std::nullopt},
      {std::string(255, 's'), std::nullopt},
  };
  TTableWithLayout written;
  for (const TCase& c : cases) written.AppendRow("a.txt", "b.txt", "/data/", c.Text);
  const std::string bytes = WriteResultStream(written, written);
  TTableWithLayout loaded;
  ASSERT_TRUE(ReadResultStream(bytes, loaded, loaded));
  ASSERT_EQ(loaded.RowCount(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(loaded.Row(i).KnownStatus(), cases[i].Status) << i;
    EXPECT_EQ(loaded.Row(i).StatusWord(), cases[i].Text) << i;
  }
  EXPECT_EQ(WriteResultStream(loaded, loaded), bytes);
}

TEST(RoundTrip, TextsOfZeroAnd255BytesStayWhole) {
  TTableWithLayout table;
  const std::string longest(255, 'x');
  table.AppendRow("", longest, "", longest);
  const TTableWithLayout read = ReadBack(table);
  ASSERT_EQ(read.RowCount(), 1u);
  EXPECT_EQ(test::RowTexts(read.Row(0)), (std::vector<std::string>{"", longest, "", longest}));
}

TEST(RoundTrip, LongerTextsComeBackCutTo255Bytes) {
  TTableWithLayout table;
  const std::string path = "/" + std::string(300, 'p');
  table.AppendRow(std::string(256, 'n'), std::string(1000, 'm'), path, "Ok");
  const std::string bytes = WriteResultStream(table, table);
  TTableWithLayout read;
  ASSERT_TRUE(ReadResultStream(bytes, read, read));
  ASSERT_EQ(read.RowCount(), 1u);
  EXPECT_EQ(test::RowTexts(read.Row(0)),
            (std::vector<std::string>{std::string(255, 'n'), std::string(255, 'm'), path.substr(0, 255), "Ok"}));
  // The block was sized with the cut lengths: the file holds nothing else.
  const std::size_t record = 20 + 3 * (1 + 255) + (1 + 2);
  EXPECT_EQ(bytes.size(), 297u - 43u + record);
}

TEST(RoundTrip, A255ByteCutNeverSplitsAUtf8Character) {
  // 254 ASCII bytes and then "é" (two bytes): the cut at 255 would split it.
  const std::string name = std::string(254, 'a') + "\xC3\xA9" + "z";
  TTableWithLayout table;
  table.AppendRow(name, "", "", "Ok");
  const TTableWithLayout read = ReadBack(table);
  ASSERT_EQ(read.RowCount(), 1u);
  EXPECT_EQ(read.Row(0).OldName, std::string(254, 'a'));
}

TEST(RoundTrip, FontGroupOnlyOnceTheFontChanged) {
  TTableWithLayout table = TableWithRows(1);
  EXPECT_EQ(WriteResultStream(table, table).find("Font."), std::string::npos);

  // A simulation turns the text grey, a real pass black again: the group stays.
  table.SetTextColor(TextColor::Gray);
  table.SetTextColor(TextColor::Black);
  const std::string bytes = WriteResultStream(table, table);
  const std::string group = std::string(
                                "\x0A"
                                "Font.Color\x07\x07"
                                "clBlack") +
                            "\x0B"
                            "Font.Height\x02\xF5" +
                            "\x09"
                            "Font.Name\x06\x0D"
                            "MS Sans Serif" +
                            std::string(
                                "\x0A"
                                "Font.Style\x0B\x00",
                                13);
  const std::size_t at = bytes.find(group);
  ASSERT_NE(at, std::string::npos);
  // Between "ReadOnly" and "Items.Data".
  EXPECT_EQ(bytes.substr(at - 10, 10), "\x08ReadOnly\x09");
  EXPECT_EQ(bytes.substr(at + group.size(), 11), "\x0AItems.Data");

  TTableWithLayout read = ReadBack(table);
  EXPECT_EQ(read.Font(), table.Font());
}

TEST(RoundTrip, GreyBoldFontAndOtherNameComeBack) {
  TTableWithLayout table;
  TResultFont font;
  font.Color = TextColor::Gray;
  font.Height = -300;
  font.Name = "DejaVu Sans";
  font.Style = FontStyle::Bold | FontStyle::StrikeOut;
  table.SetFont(font);
  const TTableWithLayout read = ReadBack(table);
  EXPECT_EQ(read.Font(), font);
  EXPECT_TRUE(read.FontChanged());
}

TEST(RoundTrip, ColourWithoutANameIsWrittenAsAnInteger) {
  TTableWithLayout table;
  table.SetTextColor(0x123456);
  const std::string bytes = WriteResultStream(table, table);
  EXPECT_NE(bytes.find(std::string("\x0A"
                                   "Font.Color\x04\x56\x34\x12\x00",
                                   16)),
            std::string::npos);
  EXPECT_EQ(ReadBack(table).Font().Color, 0x123456u);

  // Bits above the 24 of a colour cannot make a file unreadable.
  table.SetTextColor(0xFF654321);
  EXPECT_EQ(ReadBack(table).Font().Color, 0x654321u);
}

TEST(RoundTrip, ColumnWidthOfExactly50IsLeftOutAndKeptOnReading) {
  TTableWithLayout table;
  table.SetColumnWidth(1, 50);
  table.SetColumnWidth(3, 51);
  const std::string bytes = WriteResultStream(table, table);
  EXPECT_NE(bytes.find(std::string("\x01\x07"
                                   "Caption\x06\x08"
                                   "New Name\x00",
                                   19)),
            std::string::npos);
  EXPECT_NE(bytes.find(std::string("\x05"
                                   "Width\x02\x33",
                                   8)),
            std::string::npos);

  TTableWithLayout read;
  read.SetColumnWidth(1, 222);
  ASSERT_TRUE(ReadResultStream(bytes, read, read));
  EXPECT_EQ(read.Columns()[0].Width, 150);
  EXPECT_EQ(read.Columns()[1].Width, 222);
  EXPECT_EQ(read.Columns()[3].Width, 51);
}

TEST(RoundTrip, EmptyCaptionIsLeftOutAndExtraColumnsComeBack) {
  TTableWithLayout table;
  table.Columns()[0].Caption.clear();
  table.Columns().push_back({"Extra", 7000});
  const std::string bytes = WriteResultStream(table, table);
  EXPECT_NE(bytes.find(std::string("\x0E\x01\x05"
                                   "Width\x03\x96\x00\x00",
                                   12)),
            std::string::npos);
  TTableWithLayout read;
  ASSERT_TRUE(ReadResultStream(bytes, read, read));
  ASSERT_EQ(read.Columns().size(), 5u);
  EXPECT_EQ(read.Columns()[0].Caption, "File");  // not mentioned: kept
  EXPECT_EQ(read.Columns()[4].Caption, "Extra");
  EXPECT_EQ(read.Columns()[4].Width, 7000);
}

TEST(RoundTrip, IntegersTakeTheirSmallestForm) {
  struct Case {
    int Width;
    std::string Bytes;
  };
  const Case cases[] = {
      {127, std::string("\x02\x7F", 2)},
      {-128, std::string("\x02\x80", 2)},
      {128, std::string("\x03\x80\x00", 3)},
      {-32768, std::string("\x03\x00\x80", 3)},
      {32767, std::string("\x03\xFF\x7F", 3)},
      {32768, std::string("\x04\x00\x80\x00\x00", 5)},
      {-32769, std::string("\x04\xFF\x7F\xFF\xFF", 5)},
  };
  for (const Case& c : cases) {
    TTableWithLayout table;
    table.Width = c.Width;
    const std::string bytes = WriteResultStream(table, table);
    EXPECT_EQ(bytes.substr(36, 6 + c.Bytes.size()), "\x05Width" + c.Bytes) << c.Width;
    EXPECT_EQ(ReadBack(table).Width, c.Width);
  }
}

}  // namespace
}  // namespace vt
