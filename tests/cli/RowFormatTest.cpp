#include "cli/RowFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vt {
namespace {

TResultRow Row(std::string file, std::string newName, std::string path, std::string status) {
  TResultRow row;
  row.Caption = std::move(file);
  row.SubItems = {std::move(newName), std::move(path), std::move(status)};
  return row;
}

TEST(RowFormat, TsvGivesFourCellsInColumnOrder) {
  std::string out;
  AppendTsvRow(out, Row("a.txt", "b.txt", "/data/", "Ok"));
  AppendTsvRow(out, Row("c.txt", "", "/data/", "No change"));
  EXPECT_EQ(out, "a.txt\tb.txt\t/data/\tOk\nc.txt\t\t/data/\tNo change\n");
}

TEST(RowFormat, TsvEscapesWhatWouldBreakALine) {
  std::string out;
  AppendTsvRow(out, Row("a\tb", "c\nd", "/x\\y/", "e\rf"));
  EXPECT_EQ(out, "a\\tb\tc\\nd\t/x\\\\y/\te\\rf\n");
}

TEST(RowFormat, RowWithMissingCellsHasEmptyCells) {
  TResultRow row;
  row.Caption = "only";
  std::string tsv;
  AppendTsvRow(tsv, row);
  EXPECT_EQ(tsv, "only\t\t\t\n");
  std::string json;
  AppendJsonRow(json, row);
  EXPECT_EQ(json, R"({"File":"only","New Name":"","Path":"","Status":""})" "\n");
}

TEST(RowFormat, JsonLinesUseTheColumnCaptionsAsKeys) {
  std::string out;
  AppendJsonRow(out, Row("a.txt", "b.txt", "/data/", "Can be renamed"));
  EXPECT_EQ(out, R"({"File":"a.txt","New Name":"b.txt","Path":"/data/","Status":"Can be renamed"})" "\n");
}

TEST(RowFormat, JsonEscapesQuotesControlsAndBytesThatAreNotUtf8) {
  struct Case {
    std::string Text;
    std::string Json;
  };
  const std::vector<Case> cases{
      {"", R"("")"},
      {"say \"hi\"", R"("say \"hi\"")"},
      {"back\\slash", R"("back\\slash")"},
      {"a\nb\tc\rd\be\ff", R"("a\nb\tc\rd\be\ff")"},
      {std::string("\x01\x1f\x7f", 3), "\"\\u0001\\u001f\x7f\""},
      {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", "\"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80\""},
      {"latin1 \xe9t\xe9", R"("latin1 \udce9t\udce9")"},
      {"cut \xe2\x82", R"("cut \udce2\udc82")"},
      {"overlong \xc0\xaf", R"("overlong \udcc0\udcaf")"},
      {"surrogate \xed\xa0\x80", R"("surrogate \udced\udca0\udc80")"},
      {"too big \xf4\x90\x80\x80", R"("too big \udcf4\udc90\udc80\udc80")"},
  };
  for (const Case& c : cases) EXPECT_EQ(JsonString(c.Text), c.Json) << c.Text;
}

TEST(RowFormat, Utf8SequenceLengths) {
  EXPECT_EQ(Utf8SequenceLength("a", 0), 1u);
  EXPECT_EQ(Utf8SequenceLength("\xc3\xa9", 0), 2u);
  EXPECT_EQ(Utf8SequenceLength("\xe2\x82\xac", 0), 3u);
  EXPECT_EQ(Utf8SequenceLength("\xf0\x9f\x98\x80", 0), 4u);
  EXPECT_EQ(Utf8SequenceLength("\x80", 0), 0u);
  EXPECT_EQ(Utf8SequenceLength("\xc3", 0), 0u);        // cut short at the end
  EXPECT_EQ(Utf8SequenceLength("\xe0\x80\x80", 0), 0u);  // overlong
  EXPECT_EQ(Utf8SequenceLength("\xf5\x80\x80\x80", 0), 0u);
}

TEST(RowFormat, TableAlignsColumnsUnderTheirCaptions) {
  const std::string table = FormatTable({Row("a.txt", "bb.txt", "/d/", "Ok"),
                                         Row("long-name.txt", "", "/d/", "No change")});
  EXPECT_EQ(table,
            "File           New Name  Path  Status\n"
            "a.txt          bb.txt    /d/   Ok\n"
            "long-name.txt            /d/   No change\n");
}

TEST(RowFormat, TableCountsCharactersNotBytes) {
  const std::string table = FormatTable({Row("\xc3\xa9t\xc3\xa9", "x", "/", "Ok")});
  EXPECT_EQ(table,
            "File  New Name  Path  Status\n"
            "\xc3\xa9t\xc3\xa9   x         /     Ok\n");
}

TEST(RowFormat, TerminalTextDisarmsControlCharacters) {
  EXPECT_EQ(TerminalText("plain name.txt"), "plain name.txt");
  EXPECT_EQ(TerminalText("\x1b[31mred"), "\\x1b[31mred");
  EXPECT_EQ(TerminalText("a\nb"), "a\\x0ab");
  EXPECT_EQ(TerminalText("\xc2\x9b" "2J"), "\\xc2\\x9b2J");  // C1 control sequence introducer
  EXPECT_EQ(TerminalText("\xe9"), "\\xe9");
  EXPECT_EQ(TerminalText("\xc2\xa0"), "\xc2\xa0");  // no-break space is printable
}

}  // namespace
}  // namespace vt
