#include "results/ResultStreamWriter.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "results/Identifiers.h"
#include "results/RowBlock.h"
#include "results/ValueWriter.h"

namespace vt {
namespace {

constexpr int kDefaultColumnWidth = 50;

void WriteColumns(const TResultLayout& layout, TValueWriter& out) {
  out.Name("Columns");
  out.Code(TValueCode::Collection);
  for (const TResultColumn& column : layout.Columns()) {
    out.Code(TValueCode::List);
    if (!column.Caption.empty()) {
      out.Name("Caption");
      out.String(column.Caption);
    }
    if (column.Width != kDefaultColumnWidth) {
      out.Name("Width");
      out.Integer(column.Width);
    }
    out.Code(TValueCode::End);
  }
  out.Code(TValueCode::End);
}

void WriteFont(const TResultFont& font, TValueWriter& out) {
  out.Name("Font.Color");
  if (const auto name = NameOf(font.Color, ColorNames()))
    out.Ident(*name);
  else  // a colour is 24-bit RGB; nothing above it could be read back
    out.Integer(static_cast<std::int32_t>(font.Color & 0xFFFFFF));
  out.Name("Font.Height");
  out.Integer(font.Height);
  out.Name("Font.Name");
  out.String(font.Name);
  std::vector<std::string_view> styles;
  for (const TNamedValue& style : FontStyleNames())
    if (font.Style & style.Value) styles.push_back(style.Name);
  out.Name("Font.Style");
  out.Set(styles);
}

// The row block: its size, and what writes it.
struct TBlockWriter {
  std::uint64_t Size = 0;
  std::function<void(TValueWriter&)> Write;
};

bool WriteStream(const TResultLayout& layout, const std::optional<TBlockWriter>& block, TByteSink& sink);

}  // namespace

bool WriteResultTable(const TResultTable& table, const TResultLayout& layout, TByteSink& sink) {
  // Sized and built before anything goes out, so that a table too large for a
  // block writes nothing.
  std::optional<std::string> block;
  if (table.RowCount() > 0) {
    block = BuildRowBlock(table.Rows());
    if (!block) return false;
  }
  if (!block) return WriteStream(layout, std::nullopt, sink);
  return WriteStream(layout, TBlockWriter{block->size(), [&](TValueWriter& out) { out.Binary(*block); }}, sink);
}

bool WriteResultTable(IRowSource& rows, const TResultLayout& layout, TByteSink& sink) {
  const std::optional<TRowBlockExtent> extent = MeasureRowBlock(rows);
  if (!extent) return false;
  if (extent->Count == 0) return WriteStream(layout, std::nullopt, sink);
  bool same = true;
  const bool written =
      WriteStream(layout,
                  TBlockWriter{extent->Size,
                               [&](TValueWriter& out) {
                                 out.BinaryHead(extent->Size);
                                 same = WriteRowBlock(rows, *extent, [&](std::string_view piece) { out.Raw(piece); });
                               }},
                  sink);
  return written && same;
}

namespace {

bool WriteStream(const TResultLayout& layout, const std::optional<TBlockWriter>& block, TByteSink& sink) {
  // Everything but the rows takes a few hundred bytes.
  constexpr std::size_t kLayoutBytes = 4096;
  sink.Expect((block ? static_cast<std::size_t>(block->Size) : 0) + kLayoutBytes);

  TValueWriter out(sink);
  out.Raw(kStreamSignature);
  out.ShortString("TListView");
  out.ShortString("ListView");

  out.Name("Left");
  out.Integer(layout.Left);
  out.Name("Top");
  out.Integer(layout.Top);
  out.Name("Width");
  out.Integer(layout.Width);
  out.Name("Height");
  out.Integer(layout.Height);
  out.Name("Align");
  out.Ident(AlignValues().front());
  WriteColumns(layout, out);
  out.Name("ReadOnly");
  out.Boolean(true);
  if (layout.FontChanged()) WriteFont(layout.Font(), out);
  if (block) {
    out.Name("Items.Data");
    block->Write(out);
  }
  out.Name("TabOrder");
  out.Integer(0);
  out.Name("ViewStyle");
  out.Ident(ViewStyleValues().front());

  out.Code(TValueCode::End);  // properties
  out.Code(TValueCode::End);  // contained components
  return out.Ok();
}

}  // namespace
}  // namespace vt
