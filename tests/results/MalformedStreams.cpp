// Streams of every kind of fault the reader must refuse, built byte by byte. The
// reader's tests run them, and the fuzzer starts from them.
#include "MalformedStreams.h"

#include "../support/TableWithLayout.h"
#include "StreamBuilder.h"
#include "results/RowBlock.h"

namespace vt::test {
namespace {

// The header and one record that marks how far the reader got.
TStreamBuilder Applied() {
  TStreamBuilder b;
  b.Header().Name("Width").Int16(700);
  return b;
}

std::string Bytes(TStreamBuilder b) { return b.Bytes(); }

// A property list of one record of the given name and raw value, closed properly.
std::string Record(std::string_view name, std::string_view value) {
  return Bytes(Applied().Name(name).Raw(value).End().End());
}

std::string WithBlock(const std::string& payload) {
  return Bytes(Applied().Name("Items.Data").Binary(payload).End().End());
}

std::string WithBinaryHead(std::int32_t length, const std::string& rest) {
  return Bytes(Applied().Name("Items.Data").Byte(10).Le32(length).Raw(rest));
}

// Column items that each add a column to the four the table has.
std::string AddedColumns(int count) {
  TStreamBuilder b = Applied();
  b.Name("Columns").Byte(14);
  b.Int8(4);  // past the last column: each item from here on adds one
  for (int i = 0; i < count; ++i) b.Byte(1).End();
  return Bytes(b.End().End().End());
}

std::string RowWithSubCount(std::int32_t subCount) {
  return TStreamBuilder().Le32(0).Le32(-1).Le32(-1).Le32(subCount).Le32(0).Short("cap").Short("x").Bytes();
}

std::string RowWithSubTexts(std::int32_t subCount) {
  TStreamBuilder b;
  b.Le32(0).Le32(-1).Le32(-1).Le32(subCount).Le32(0).Short("cap");
  for (std::int32_t i = 0; i < subCount; ++i) b.Short("s");
  return b.Bytes();
}

}  // namespace

std::vector<TMalformedStream> MalformedStreams() {
  const std::string oneRow = RowRecord("kept", {"n", "p", "Ok"});
  return {
      // Header
      {"empty input", "", false},
      {"text file", "a.txt -> b.txt\nOk\n", false},
      {"wrong signature", Bytes(TStreamBuilder().Raw("TPF1").Short("TListView").Short("ListView").End().End()), false},
      {"signature only", "TPF0", false},
      {"class name cut short", "TPF0\x09TList", false},
      {"component name missing", "TPF0\x09TListView", false},
      {"flags byte with a position that is no integer",
       Bytes(TStreamBuilder().Raw("TPF0\xF2").String("x").Short("TListView").Short("ListView").End().End()), false},

      // Ends early
      {"ends after a record name", Bytes(Applied().Name("Left")), true},
      {"ends inside an integer", Bytes(Applied().Name("Left").Raw("\x03\x01")), true},
      {"ends inside a short string",
       Bytes(Applied().Name("Align").Raw("\x07\x08"
                                         "alCl")),
       true},
      {"no end of the properties", Bytes(Applied()), true},
      {"no end of the components", Bytes(Applied().End()), true},
      {"collection not closed", Bytes(Applied().Name("Columns").Byte(14).Byte(1).Name("Width").Int8(33).End()), true, 0,
       [](const TTableWithLayout& t) { return t.Columns()[0].Width == 33; }},
      {"collection item not closed", Bytes(Applied().Name("Columns").Byte(14).Byte(1).Name("Width").Int8(33)), true},
      {"set not closed", Bytes(Applied().Name("Font.Style").Byte(11).Short("fsBold")), true},

      // Unknown names
      {"unknown record", Record("Color", "\x02\x01"), true},
      {"unknown font member",
       Record("Font.Colour",
              "\x07\x07"
              "clBlack"),
       true},
      {"unknown object",
       Record("Brush.Color",
              "\x07\x07"
              "clBlack"),
       true},
      {"object without member", Record("Font", "\x02\x01"), true},
      {"member of a member", Record("Font.Color.Value", "\x02\x01"), true},
      {"items member other than Data", Record("Items.Count", "\x02\x01"), true},
      {"empty member", Record("Font.", "\x02\x01"), true},
      {"unknown column item record",
       Bytes(Applied()
                 .Name("Columns")
                 .Byte(14)
                 .Byte(1)
                 .Name("Width")
                 .Int8(33)
                 .Name("Alignment")
                 .Int8(0)
                 .End()
                 .End()
                 .End()
                 .End()),
       true, 0, [](const TTableWithLayout& t) { return t.Columns()[0].Width == 33; }},
      {"unknown record after the rows",
       Bytes(Applied().Name("Items.Data").Binary(RowBlock(1, oneRow)).Name("HideSelection").Byte(9).End().End()), true,
       1, [](const TTableWithLayout& t) { return t.Row(0).OldName == "kept"; }},

      // Value codes that do not suit the record
      {"integer record given a string",
       Record("Left",
              "\x06\x01"
              "0"),
       true},
      {"integer record given an extended real", Record("Top", std::string("\x05", 1) + std::string(10, '\0')), true},
      {"identifier record given a string",
       Record("Align",
              "\x06\x08"
              "alClient"),
       true},
      {"boolean record given an integer", Record("ReadOnly", "\x02\x01"), true},
      {"collection record given a list", Record("Columns", std::string("\x01\x00\x00", 3)), true},
      {"collection item that is no list", Record("Columns", std::string("\x0E\x06\x01x\x00", 5)), true},
      {"caption given an integer",
       Record("Columns", std::string("\x0E\x01\x07"
                                     "Caption\x02\x01\x00\x00",
                                     14)),
       true},
      {"font name given an identifier",
       Record("Font.Name",
              "\x07\x05"
              "Arial"),
       true},
      {"font style given an identifier",
       Record("Font.Style",
              "\x07\x06"
              "fsBold"),
       true},
      {"font colour given a string",
       Record("Font.Color",
              "\x06\x07"
              "clBlack"),
       true},
      {"font colour given true", Record("Font.Color", "\x09"), true},
      {"rows given a long string", Record("Items.Data", std::string("\x0C\x00\x00\x00\x00", 5)), true},
      {"code byte beyond the table", Record("TabOrder", "\x13\x00"), true},
      {"nil for an integer", Record("TabOrder", "\x0D"), true},

      // Identifiers that are no valid value
      {"unknown alignment",
       Record("Align",
              "\x07\x08"
              "alMiddle"),
       true},
      {"unknown view style",
       Record("ViewStyle",
              "\x07\x07"
              "vsTiles"),
       true},
      {"unknown boolean",
       Record("ReadOnly",
              "\x07\x03"
              "Yes"),
       true},
      {"unknown colour name",
       Record("Font.Color",
              "\x07\x06"
              "clPink"),
       true},
      {"negative colour", Record("Font.Color", "\x02\xFF"), true},
      {"colour beyond 24 bits", Record("Font.Color", std::string("\x04\x00\x00\x00\x01", 5)), true},
      {"unknown style",
       Record("Font.Style", std::string("\x0B\x08"
                                        "fsShadow\x00",
                                        11)),
       true},

      // The row block
      {"block shorter than its length says", WithBinaryHead(51, RowBlock(1, oneRow).substr(0, 30)), true},
      {"BlockSize past the binary length", WithBlock(TStreamBuilder().Le32(60).Le32(1).Raw(oneRow).Bytes()), true},
      {"BlockSize below its own header", WithBlock(TStreamBuilder().Le32(4).Le32(0).Bytes()), true},
      {"binary too short for BlockSize", WithBlock("\x08\x00"), true},
      {"RowCount larger than the block can hold", WithBlock(RowBlock(5, oneRow)), true},
      {"records run past BlockSize", WithBlock(RowBlock(2, oneRow + oneRow.substr(0, 30))), true, 1,
       [](const TTableWithLayout& t) { return t.Row(0).OldName == "kept"; }},
      {"caption runs past BlockSize",
       WithBlock(RowBlock(1, TStreamBuilder().Le32(0).Le32(-1).Le32(-1).Le32(0).Le32(0).Byte(200).Raw("ab").Bytes())),
       true},
      {"SubCount larger than the block can hold", WithBlock(RowBlock(1, RowWithSubCount(1000))), true},
      // Every sub-text is there, but each would cost far more memory than its byte.
      {"more sub-texts than a table has columns", WithBlock(RowBlock(1, RowWithSubTexts(kMostSubItems + 1))), true},

      // Negative and absurd lengths
      {"negative RowCount", WithBlock(TStreamBuilder().Le32(8).Le32(-1).Bytes()), true},
      {"negative SubCount", WithBlock(RowBlock(1, RowWithSubCount(-1))), true},
      {"negative binary length", WithBinaryHead(-1, RowBlock(0, "")), true},
      {"absurd binary length", WithBinaryHead(0x7FFFFFF0, RowBlock(0, "")), true},
      {"absurd BlockSize", WithBlock(TStreamBuilder().Le32(0x7FFFFFF0).Le32(0).Bytes()), true},
      {"absurd RowCount", WithBlock(TStreamBuilder().Le32(8).Le32(0x7FFFFFFF).Bytes()), true},
      {"negative long string length", Record("Font.Name", std::string("\x0C\xFF\xFF\xFF\xFF", 5)), true},
      {"absurd long string length", Record("Font.Name", std::string("\x0C\xF0\xFF\xFF\x7F", 5)), true},
      {"negative column index", Record("Columns", std::string("\x0E\x02\xFF\x01\x00\x00", 6)), true},
      {"more than 64 columns added", AddedColumns(65), true, 0,
       [](const TTableWithLayout& t) { return t.Columns().size() == 4 + 64; }},

      // Contained components
      {"contained component", Bytes(Applied().End().Short("TButton").Short("Button1").End().End().End()), true},
  };
}

}  // namespace vt::test
