#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/RowFormat.h"
#include "support/RowTexts.h"

namespace vt {
namespace {

TResultRow Row(std::string file, std::string newName, std::string path, std::string status) {
  return TResultRow::FromTexts(file, newName, path, status);
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
  const TResultRow row = test::LoadedRow("only", {});
  std::string tsv;
  AppendTsvRow(tsv, row);
  EXPECT_EQ(tsv, "only\t\t\t\n");
  std::string json;
  AppendJsonRow(json, row);
  EXPECT_EQ(json, R"({"File":"only","New Name":"","Path":"","Status":""})"
                  "\n");
}

TEST(RowFormat, JsonLinesUseTheColumnCaptionsAsKeys) {
  std::string out;
  AppendJsonRow(out, Row("a.txt", "b.txt", "/data/", "Can be renamed"));
  EXPECT_EQ(out, R"({"File":"a.txt","New Name":"b.txt","Path":"/data/","Status":"Can be renamed"})"
                 "\n");
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
      {std::string("\x01\x1f\x7f", 3), R"("\u0001\u001f\u007f")"},
      {"csi \xc2\x9b"
       "2J next \xc2\x80",
       R"("csi \u009b2J next \u0080")"},
      {"nbsp \xc2\xa0 kept", "\"nbsp \xc2\xa0 kept\""},
      {"override \xe2\x80\xae kept", "\"override \xe2\x80\xae kept\""},
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
  EXPECT_EQ(Utf8SequenceLength("\xc3", 0), 0u);          // cut short at the end
  EXPECT_EQ(Utf8SequenceLength("\xe0\x80\x80", 0), 0u);  // overlong
  EXPECT_EQ(Utf8SequenceLength("\xf5\x80\x80\x80", 0), 0u);
}

TEST(RowFormat, TableAlignsColumnsUnderTheirCaptions) {
  const std::string table =
      FormatTable({Row("a.txt", "bb.txt", "/d/", "Ok"), Row("long-name.txt", "", "/d/", "No change")});
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
  EXPECT_EQ(TerminalText("\xc2\x9b"
                         "2J"),
            "\\xc2\\x9b2J");  // C1 control sequence introducer
  EXPECT_EQ(TerminalText("\xe9"), "\\xe9");
  EXPECT_EQ(TerminalText("\xc2\xa0"), "\xc2\xa0");  // no-break space is printable
  EXPECT_EQ(TerminalText("\xe2\x80\xae"), "\\xe2\\x80\\xae");
}

// What each format does with the bytes that could drive a terminal or pass a
// name off as another.
TEST(RowFormat, EscapesForEveryFormatAndTarget) {
  struct Case {
    const char* What;
    std::string Text;
    std::string TsvPipe, TsvTerminal, Table;
  };
  const std::vector<Case> cases{
      {"plain", "a b.txt", "a b.txt", "a b.txt", "a b.txt"},
      {"escape sequence", "\x1b]0;title\x07", "\x1b]0;title\x07", "\\x1b]0;title\\x07", "\\x1b]0;title\\x07"},
      {"tab and newline", "a\tb\n", "a\\tb\\n", "a\\tb\\n", "a\\x09b\\x0a"},
      {"backslash", "a\\b", "a\\\\b", "a\\\\b", "a\\b"},
      {"DEL", "a\x7f", "a\x7f", "a\\x7f", "a\\x7f"},
      {"C1 as UTF-8",
       "\xc2\x9b"
       "31m",
       "\xc2\x9b"
       "31m",
       "\\xc2\\x9b31m", "\\xc2\\x9b31m"},
      {"C1 as a lone byte",
       "\x9b"
       "31m",
       "\x9b"
       "31m",
       "\\x9b31m", "\\x9b31m"},
      {"right-to-left override",
       "gpj.\xe2\x80\xae"
       "exe",
       "gpj.\xe2\x80\xae"
       "exe",
       "gpj.\\xe2\\x80\\xaeexe", "gpj.\\xe2\\x80\\xaeexe"},
      {"first isolate", "\xe2\x81\xa6x\xe2\x81\xa9", "\xe2\x81\xa6x\xe2\x81\xa9", "\\xe2\\x81\\xa6x\\xe2\\x81\\xa9",
       "\\xe2\\x81\\xa6x\\xe2\\x81\\xa9"},
      {"left-to-right and right-to-left marks", "a\xe2\x80\x8e\xe2\x80\x8f", "a\xe2\x80\x8e\xe2\x80\x8f",
       "a\\xe2\\x80\\x8e\\xe2\\x80\\x8f", "a\\xe2\\x80\\x8e\\xe2\\x80\\x8f"},
      {"Arabic letter mark",
       "\xd8\x9c"
       "b",
       "\xd8\x9c"
       "b",
       "\\xd8\\x9cb", "\\xd8\\x9cb"},
      {"line and paragraph separators", "a\xe2\x80\xa8\xe2\x80\xa9", "a\xe2\x80\xa8\xe2\x80\xa9",
       "a\\xe2\\x80\\xa8\\xe2\\x80\\xa9", "a\\xe2\\x80\\xa8\\xe2\\x80\\xa9"},
      {"neighbours of the direction controls",
       "\xe2\x80\x8d\xe2\x80\x90\xe2\x80\xa7\xe2\x80\xaf\xe2\x81\xa5\xe2\x81\xaa\xd8\x9b\xd8\x9d",
       "\xe2\x80\x8d\xe2\x80\x90\xe2\x80\xa7\xe2\x80\xaf\xe2\x81\xa5\xe2\x81\xaa\xd8\x9b\xd8\x9d",
       "\xe2\x80\x8d\xe2\x80\x90\xe2\x80\xa7\xe2\x80\xaf\xe2\x81\xa5\xe2\x81\xaa\xd8\x9b\xd8\x9d",
       "\xe2\x80\x8d\xe2\x80\x90\xe2\x80\xa7\xe2\x80\xaf\xe2\x81\xa5\xe2\x81\xaa\xd8\x9b\xd8\x9d"},
      {"accented", "\xc3\xa9t\xc3\xa9", "\xc3\xa9t\xc3\xa9", "\xc3\xa9t\xc3\xa9", "\xc3\xa9t\xc3\xa9"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TsvCell(c.Text, TOutputTarget::Pipe), c.TsvPipe) << c.What;
    EXPECT_EQ(TsvCell(c.Text, TOutputTarget::Terminal), c.TsvTerminal) << c.What;
    EXPECT_EQ(TerminalText(c.Text), c.Table) << c.What;
    // JSON never lets a control through, whatever the target.
    const std::string json = JsonString(c.Text);
    for (const char byte : json) EXPECT_FALSE(static_cast<unsigned char>(byte) < 0x20 || byte == 0x7f) << c.What;
    EXPECT_EQ(json.find("\xc2\x9b"), std::string::npos) << c.What;
  }
}

// On a terminal JSON writes the direction controls as escapes: the same text to
// a reader, nothing reordered on the screen. In a pipe it keeps the bytes.
TEST(RowFormat, JsonOnATerminalEscapesEveryDirectionControl) {
  const struct {
    std::string Text;
    std::string Terminal;
  } cases[] = {
      {"a\xe2\x80\xaa"
       "b",
       "\"a\\u202ab\""},
      {"\xe2\x80\xae"
       "exe",
       "\"\\u202eexe\""},
      {"\xe2\x81\xa6x\xe2\x81\xa9", "\"\\u2066x\\u2069\""},
      {"\xe2\x80\x8f", "\"\\u200f\""},
      {"a\xe2\x80\xa8", "\"a\\u2028\""},
      {"\xe2\x80\xa9", "\"\\u2029\""},
      {"\xd8\x9c", "\"\\u061c\""},
      {"\xe2\x80\xa7", "\"\xe2\x80\xa7\""},
      {"\xe2\x81\xaa", "\"\xe2\x81\xaa\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(JsonString(c.Text, TOutputTarget::Terminal), c.Terminal);
    EXPECT_EQ(JsonString(c.Text, TOutputTarget::Pipe), "\"" + c.Text + "\"");
  }
}

// Names are scanned sixteen bytes at a time, and what is left of them (or a
// short name whole) in one more look: every byte value must be found wherever
// it stands in a name of any length, in the scanned words as in the rest.
TEST(RowFormat, EveryByteIsEscapedWhereverItStands) {
  const std::size_t lengths[] = {0, 1, 7, 14, 15, 16, 17, 23, 31, 32, 40};
  for (const std::size_t length : lengths) {
    const std::string plain(length, 'a');
    for (int value = 0; value < 256; ++value) {
      const std::string byte(1, static_cast<char>(value));
      const std::string alone[] = {TsvCell(byte, TOutputTarget::Pipe), TsvCell(byte, TOutputTarget::Terminal),
                                   TerminalText(byte), JsonString(byte)};
      for (std::size_t at = 0; at <= plain.size(); ++at) {
        const std::string before = plain.substr(0, at), after = plain.substr(at);
        const std::string text = before + byte + after;
        SCOPED_TRACE("byte " + std::to_string(value) + " at " + std::to_string(at) + " of " +
                     std::to_string(text.size()));
        EXPECT_EQ(TsvCell(text, TOutputTarget::Pipe), before + alone[0] + after);
        EXPECT_EQ(TsvCell(text, TOutputTarget::Terminal), before + alone[1] + after);
        EXPECT_EQ(TerminalText(text), before + alone[2] + after);
        const std::string json = alone[3].substr(1, alone[3].size() - 2);
        EXPECT_EQ(JsonString(text), "\"" + before + json + after + "\"");
      }
    }
  }
}

TEST(RowFormat, TsvRowForATerminalEscapesEveryCell) {
  std::string out;
  AppendTsvRow(out, Row("\x1b[2J", "n\x07", "/p\x9b/", "Ok"), TOutputTarget::Terminal);
  EXPECT_EQ(out, "\\x1b[2J\tn\\x07\t/p\\x9b/\tOk\n");
}

TEST(RowFormat, JsonReasonOnlyWhenGiven) {
  std::string out;
  AppendJsonRow(out, Row("a", "b", "/", "Error"), "a file of that name exists");
  AppendJsonRow(out, Row("c", "d", "/", "Ok"));
  EXPECT_EQ(out, R"({"File":"a","New Name":"b","Path":"/","Status":"Error","reason":"a file of that name exists"})"
                 "\n"
                 R"({"File":"c","New Name":"d","Path":"/","Status":"Ok"})"
                 "\n");
}

}  // namespace
}  // namespace vt
