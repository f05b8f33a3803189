// How the reader takes a stream that another writer could have written.
#include <gtest/gtest.h>

#include "StreamBuilder.h"
#include "passes/ResultTable.h"
#include "results/ResultFile.h"
#include "support/RowTexts.h"
#include "support/TableWithLayout.h"

namespace vt {
using test::TTableWithLayout;
namespace {

using test::RowBlock;
using test::RowRecord;
using test::TStreamBuilder;

std::string Stream(const std::function<void(TStreamBuilder&)>& properties) {
  TStreamBuilder b;
  b.Header();
  properties(b);
  b.End().End();
  return b.Bytes();
}

void Read(const std::string& bytes, TTableWithLayout& table) {
  const TResultFileStatus status = ReadResultStream(bytes, table, table);
  ASSERT_TRUE(status) << static_cast<int>(status.Error().Kind);
}

TEST(ReaderRules, FlagsByteWithAndWithoutPosition) {
  for (const std::string& flags : {std::string("\xF0"), std::string("\xF2\x02\x05"),
                                   std::string("\xF2\x04\x01\x02\x03\x04"), std::string("\xFF\x03\x01\x00", 4)}) {
    TStreamBuilder b;
    b.Raw("TPF0").Raw(flags).Short("TListView").Short("ListView").Name("Width").Int16(700).End().End();
    TTableWithLayout table;
    Read(b.Bytes(), table);
    EXPECT_EQ(table.Width, 700);
  }
}

TEST(ReaderRules, AnyClassAndComponentNameIsTaken) {
  TStreamBuilder b;
  b.Raw("TPF0").Short("").Short("SomethingElse").Name("Top").Int8(3).End().End();
  TTableWithLayout table;
  Read(b.Bytes(), table);
  EXPECT_EQ(table.Top, 3);
}

TEST(ReaderRules, NamesAndIdentifiersIgnoreAsciiCase) {
  const std::string bytes = Stream([](TStreamBuilder& b) {
    b.Name("LEFT").Int8(1).Name("top").Int8(2).Name("wIdTh").Int16(300).Name("HEIGHT").Int16(200);
    b.Name("align").Ident("ALCLIENT").Name("readonly").Ident("true");
    b.Name("COLUMNS").Byte(14).Byte(1).Name("caption").String("Name").Name("WIDTH").Int8(77).End().End();
    b.Name("FONT.COLOR").Ident("CLGRAY").Name("font.height").Int8(-12).Name("Font.NAME").String("X");
    b.Name("font.style").Byte(11).Short("FSBOLD").Short("fsitalic").Short("");
    b.Name("items.data").Binary(RowBlock(1, RowRecord("a", {"b", "c", "Ok"})));
    b.Name("taborder").Int8(0).Name("VIEWSTYLE").Ident("VSREPORT");
  });
  TTableWithLayout table;
  Read(bytes, table);
  EXPECT_EQ(table.Left, 1);
  EXPECT_EQ(table.Top, 2);
  EXPECT_EQ(table.Width, 300);
  EXPECT_EQ(table.Height, 200);
  EXPECT_EQ(table.Columns()[0].Caption, "Name");
  EXPECT_EQ(table.Columns()[0].Width, 77);
  EXPECT_EQ(table.Font().Color, TextColor::Gray);
  EXPECT_EQ(table.Font().Height, -12);
  EXPECT_EQ(table.Font().Name, "X");
  EXPECT_EQ(table.Font().Style, FontStyle::Bold | FontStyle::Italic);
  ASSERT_EQ(table.RowCount(), 1u);
  EXPECT_EQ(table.Row(0).KnownStatus(), TRenameStatus::rsOk);
}

TEST(ReaderRules, CaseIsOnlyFoldedForAsciiLetters) {
  // "İ" is not "I": a non-ASCII byte never matches a letter.
  const std::string bytes = Stream([](TStreamBuilder& b) { b.Name("\xC4\xB0tems.Data"); });
  TTableWithLayout table;
  EXPECT_FALSE(ReadResultStream(bytes, table, table));
}

TEST(ReaderRules, IntegerRecordsTakeAllThreeCodes) {
  const std::string bytes = Stream([](TStreamBuilder& b) {
    b.Name("Left").Int32(5).Name("Top").Int16(-2).Name("Width").Int8(100).Name("Height").Int32(100000);
    b.Name("TabOrder").Int32(9).Name("Font.Height").Int32(-11);
    b.Name("Columns").Byte(14).Byte(1).Name("Width").Int32(3).End().End();
  });
  TTableWithLayout table;
  Read(bytes, table);
  EXPECT_EQ(table.Left, 5);
  EXPECT_EQ(table.Top, -2);
  EXPECT_EQ(table.Width, 100);
  EXPECT_EQ(table.Height, 100000);
  EXPECT_EQ(table.Columns()[0].Width, 3);
  EXPECT_FALSE(table.FontChanged());  // -11 is the height it already had
}

TEST(ReaderRules, ColumnItemsByPositionWithIndexMovesAndAddedColumns) {
  const std::string bytes = Stream([](TStreamBuilder& b) {
    b.Name("Columns").Byte(14);
    b.Byte(1).Name("Width").Int8(11).End();                       // position 0
    b.Int8(3).Byte(1).Name("Caption").String("State").End();      // moved to 3
    b.Byte(1).Name("Caption").String("Fifth").End();              // 4: added
    b.Int16(1).Byte(1).Name("Width").Int8(22).End();              // back to 1
    b.Int32(1000).Byte(1).Name("Caption").String("Sixth").End();  // beyond: added
    b.End();
  });
  TTableWithLayout table;
  Read(bytes, table);
  const auto& columns = table.Columns();
  ASSERT_EQ(columns.size(), 6u);
  EXPECT_EQ(columns[0].Width, 11);
  EXPECT_EQ(columns[0].Caption, "File");
  EXPECT_EQ(columns[1].Width, 22);
  EXPECT_EQ(columns[2].Caption, "Path");  // not mentioned
  EXPECT_EQ(columns[2].Width, 176);
  EXPECT_EQ(columns[3].Caption, "State");
  EXPECT_EQ(columns[3].Width, 130);
  EXPECT_EQ(columns[4].Caption, "Fifth");
  EXPECT_EQ(columns[4].Width, 50);
  EXPECT_EQ(columns[5].Caption, "Sixth");
}

// A file may add 64 columns; items that go back to columns it has add none.
TEST(ReaderRules, SixtyFourColumnsMayBeAdded) {
  const std::string bytes = Stream([](TStreamBuilder& b) {
    b.Name("Columns").Byte(14);
    for (int round = 0; round < 3; ++round) {
      b.Int8(0);
      for (int i = 0; i < 4 + 64; ++i) b.Byte(1).Name("Width").Int16(static_cast<std::int16_t>(i + round)).End();
    }
    b.End();
  });
  TTableWithLayout table;
  Read(bytes, table);
  ASSERT_EQ(table.Columns().size(), 4u + 64u);
  EXPECT_EQ(table.Columns()[67].Width, 67 + 2);
}

TEST(ReaderRules, BooleanAsCodeOrIdentifierAndOtherLayoutValues) {
  const std::string bytes = Stream([](TStreamBuilder& b) {
    b.Name("ReadOnly").Byte(8).Name("ReadOnly").Ident("False").Name("ReadOnly").Byte(9);
    b.Name("Align").Ident("alNone").Name("ViewStyle").Ident("vsList");
  });
  TTableWithLayout table;
  Read(bytes, table);
  // The table stays a read-only report filling its page: the next file says so.
  const std::string written = WriteResultStream(table, table);
  EXPECT_NE(written.find("\x07\x08"
                         "alClient"),
            std::string::npos);
  EXPECT_NE(written.find("\x07\x08"
                         "vsReport"),
            std::string::npos);
}

TEST(ReaderRules, ColourAsIntegerAndNameAsLongString) {
  const std::string bytes = Stream([](TStreamBuilder& b) {
    b.Name("Font.Color").Int32(0x808080).Name("Font.Name").LongString(std::string(300, 'F'));
  });
  TTableWithLayout table;
  Read(bytes, table);
  EXPECT_EQ(table.Font().Color, TextColor::Gray);
  EXPECT_EQ(table.Font().Name, std::string(300, 'F'));
}

TEST(ReaderRules, WithoutFontGroupTheCurrentFontStays) {
  TTableWithLayout table;
  table.SetTextColor(TextColor::Gray);  // a simulation ran before the load
  Read(Stream([](TStreamBuilder& b) { b.Name("Left").Int8(0); }), table);
  EXPECT_EQ(table.Font().Color, TextColor::Gray);

  Read(Stream([](TStreamBuilder& b) { b.Name("Font.Color").Ident("clBlack"); }), table);
  EXPECT_EQ(table.Font().Color, TextColor::Black);
}

TEST(ReaderRules, LoadingADifferentFontCountsAsAChange) {
  TTableWithLayout table;
  Read(Stream([](TStreamBuilder& b) { b.Name("Font.Color").Ident("clBlack"); }), table);
  EXPECT_FALSE(table.FontChanged());
  Read(Stream([](TStreamBuilder& b) { b.Name("Font.Height").Int8(-13); }), table);
  EXPECT_TRUE(table.FontChanged());
}

TEST(ReaderRules, NoItemsRecordLeavesAnEmptyTable) {
  TTableWithLayout table;
  table.AppendRow("x", "y", "z", "Ok");
  Read(Stream([](TStreamBuilder& b) {
         b.Name("Width").Int16(640).Name("Font.Color").Ident("clGray");
         b.Name("Columns").Byte(14).Byte(1).Name("Width").Int8(99).End().End();
       }),
       table);
  EXPECT_EQ(table.RowCount(), 0u);
  EXPECT_EQ(table.Width, 640);
  EXPECT_EQ(table.Columns()[0].Width, 99);
  EXPECT_EQ(table.Font().Color, TextColor::Gray);
}

TEST(ReaderRules, ASecondItemsRecordReplacesTheRowsOfTheFirst) {
  const std::string bytes = Stream([](TStreamBuilder& b) {
    b.Name("Items.Data").Binary(RowBlock(1, RowRecord("first", {})));
    b.Name("Items.Data").Binary(RowBlock(2, RowRecord("second", {"n"}) + RowRecord("third", {"a", "b"})));
  });
  TTableWithLayout table;
  Read(bytes, table);
  ASSERT_EQ(table.RowCount(), 2u);
  EXPECT_EQ(table.Row(0).OldName, "second");
  EXPECT_EQ(test::SubTexts(table.Row(0)), (std::vector<std::string>{"n"}));
  EXPECT_EQ(test::SubTexts(table.Row(1)), (std::vector<std::string>{"a", "b"}));
}

TEST(ReaderRules, NumbersOfALoadedRowComeFromTheFileUnchanged) {
  const std::string bytes =
      Stream([](TStreamBuilder& b) { b.Name("Items.Data").Binary(RowBlock(1, RowRecord("a", {"b"}, 7, 8, 9, -10))); });
  TTableWithLayout table;
  Read(bytes, table);
  ASSERT_EQ(table.RowCount(), 1u);
  EXPECT_EQ(table.Row(0).ImageNo(), 7);
  EXPECT_EQ(table.Row(0).StateImageNo(), 8);
  EXPECT_EQ(table.Row(0).OverlayNo(), 9);
  EXPECT_EQ(table.Row(0).UserWord(), -10);
}

TEST(ReaderRules, BytesAfterTheLastEndAreIgnored) {
  TTableWithLayout source;
  source.AppendRow("a.txt", "b.txt", "/d/", "Ok");
  for (const std::string& tail : {std::string("garbage"), std::string(5000, '\0'), std::string("TPF0")}) {
    TTableWithLayout table;
    Read(WriteResultStream(source, source) + tail, table);
    EXPECT_EQ(table.RowCount(), 1u);
  }
}

TEST(ReaderRules, BinaryLongerThanItsBlockIsTakenUpToTheBlock) {
  const std::string bytes = Stream([](TStreamBuilder& b) {
    b.Name("Items.Data").Binary(RowBlock(1, RowRecord("a", {})) + "spare");
    b.Name("Left").Int8(4);
  });
  TTableWithLayout table;
  Read(bytes, table);
  EXPECT_EQ(table.RowCount(), 1u);
  EXPECT_EQ(table.Left, 4);
}

TEST(ReaderRules, ABlockMayEndBeforeItsSize) {
  // Padding after the last record inside BlockSize holds no row.
  const std::string bytes = Stream(
      [](TStreamBuilder& b) { b.Name("Items.Data").Binary(RowBlock(1, RowRecord("a", {}) + std::string(30, '\0'))); });
  TTableWithLayout table;
  Read(bytes, table);
  EXPECT_EQ(table.RowCount(), 1u);
}

}  // namespace
}  // namespace vt
