#include "results/ResultStreamReader.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "results/Identifiers.h"
#include "results/RowBlock.h"
#include "results/ValueReader.h"

namespace vt {
namespace {

constexpr std::uint8_t kFlagsByteMin = 0xF0;
constexpr std::uint8_t kFlagHasPosition = 0x02;
constexpr std::uint32_t kLargestColor = 0xFFFFFF;
// No table needs more; without a bound, a file of a few megabytes of empty column
// items would make the window build hundreds of megabytes of columns.
constexpr std::size_t kMostColumnsAdded = 64;

class TResultStreamReader {
 public:
  TResultStreamReader(TByteSource& source, TResultTable* table, TResultLayout& layout, const TRowSink* sink)
      : In_(source), Table_(table), Layout_(layout), Sink_(sink) {}

  bool Read() { return Header() && PropertyList() && NoComponents(); }

 private:
  bool Header() {
    std::string signature;
    if (!In_.Bytes(std::strlen(kStreamSignature), signature) || signature != kStreamSignature) return false;
    std::uint8_t flags = 0;
    if (!In_.Peek(flags)) return false;
    if (flags >= kFlagsByteMin) {
      std::int32_t position = 0;
      if (!In_.Byte(flags)) return false;
      if ((flags & kFlagHasPosition) && !In_.Integer(position)) return false;
    }
    std::string className, componentName;
    return In_.ShortString(className) && In_.ShortString(componentName);
  }

  // Records up to the svEnd that closes the list; a record name is never empty,
  // so the end reads as an empty name.
  template <typename Apply>
  bool Records(Apply apply) {
    for (;;) {
      std::string name;
      if (!In_.ShortString(name)) return false;
      if (name.empty()) return true;
      if (!apply(name)) return false;
    }
  }

  bool PropertyList() {
    return Records([this](const std::string& name) { return Property(name); });
  }

  bool NoComponents() {
    std::uint8_t end = 0;
    return In_.Byte(end) && end == static_cast<std::uint8_t>(TValueCode::End);
  }

  bool Property(std::string_view name) {
    const std::size_t dot = name.find('.');
    if (dot != std::string_view::npos) {
      const std::string_view object = name.substr(0, dot);
      const std::string_view member = name.substr(dot + 1);
      if (SameText(object, "Font")) return FontProperty(member);
      if (SameText(object, "Items") && SameText(member, "Data")) return ItemsData();
      return false;
    }
    if (SameText(name, "Left")) return Placement(Layout_.Left);
    if (SameText(name, "Top")) return Placement(Layout_.Top);
    if (SameText(name, "Width")) return Placement(Layout_.Width);
    if (SameText(name, "Height")) return Placement(Layout_.Height);
    if (SameText(name, "Align")) return Identifier(AlignValues());
    if (SameText(name, "Columns")) return Columns();
    if (SameText(name, "ReadOnly")) return Boolean();
    if (SameText(name, "TabOrder")) {
      std::int32_t order = 0;
      return In_.Integer(order);
    }
    if (SameText(name, "ViewStyle")) return Identifier(ViewStyleValues());
    return false;
  }

  bool Placement(int& field) {
    std::int32_t value = 0;
    if (!In_.Integer(value)) return false;
    field = value;
    Layout_.NotifyLayoutChanged();
    return true;
  }

  bool Ident(std::string& identifier) {
    TValueCode code{};
    return In_.Code(code) && code == TValueCode::Ident && In_.ShortString(identifier);
  }

  // The table stays a read-only report filling its page whatever valid value
  // these settings carry.
  bool Identifier(std::span<const std::string_view> values) {
    std::string identifier;
    return Ident(identifier) && IsOneOf(identifier, values);
  }

  bool Boolean() {
    TValueCode code{};
    if (!In_.Code(code)) return false;
    if (code == TValueCode::True || code == TValueCode::False) return true;
    std::string identifier;
    return code == TValueCode::Ident && In_.ShortString(identifier) &&
           (SameText(identifier, "True") || SameText(identifier, "False"));
  }

  bool Columns() {
    TValueCode code{};
    if (!In_.Code(code) || code != TValueCode::Collection) return false;
    std::size_t position = 0;
    std::size_t added = 0;
    for (;;) {
      if (!In_.Code(code)) return false;
      if (code == TValueCode::End) return true;
      if (IsIntegerCode(code)) {
        std::int32_t index = 0;
        if (!In_.IntegerOf(code, index) || index < 0 || !In_.Code(code)) return false;
        position = static_cast<std::size_t>(index);
      }
      if (code != TValueCode::List) return false;
      auto& columns = Layout_.Columns();
      if (position >= columns.size()) {
        if (++added > kMostColumnsAdded) return false;
        columns.emplace_back();
        position = columns.size() - 1;
        Layout_.NotifyLayoutChanged();
      }
      if (!Records([&](const std::string& name) { return ColumnProperty(position, name); })) return false;
      ++position;
    }
  }

  bool ColumnProperty(std::size_t column, std::string_view name) {
    if (SameText(name, "Caption")) {
      TValueCode code{};
      std::string caption;
      if (!In_.Code(code) || !In_.TextOf(code, caption)) return false;
      Layout_.Columns()[column].Caption = std::move(caption);
      Layout_.NotifyLayoutChanged();
      return true;
    }
    if (SameText(name, "Width")) {
      std::int32_t width = 0;
      if (!In_.Integer(width)) return false;
      Layout_.SetColumnWidth(column, width);
      return true;
    }
    return false;
  }

  bool FontProperty(std::string_view member) {
    TResultFont font = Layout_.Font();
    TValueCode code{};
    if (!In_.Code(code)) return false;
    if (SameText(member, "Color")) {
      if (!Color(code, font.Color)) return false;
    } else if (SameText(member, "Height")) {
      std::int32_t height = 0;
      if (!In_.IntegerOf(code, height)) return false;
      font.Height = height;
    } else if (SameText(member, "Name")) {
      if (!In_.TextOf(code, font.Name)) return false;
    } else if (SameText(member, "Style")) {
      if (code != TValueCode::Set || !Styles(font.Style)) return false;
    } else {
      return false;
    }
    Layout_.SetFont(font);
    return true;
  }

  bool Color(TValueCode code, std::uint32_t& color) {
    if (code == TValueCode::Ident) {
      std::string name;
      if (!In_.ShortString(name)) return false;
      const auto named = FindNamed(name, ColorNames());
      if (!named) return false;
      color = *named;
      return true;
    }
    std::int32_t value = 0;
    if (!In_.IntegerOf(code, value) || value < 0 || static_cast<std::uint32_t>(value) > kLargestColor) return false;
    color = static_cast<std::uint32_t>(value);
    return true;
  }

  bool Styles(std::uint8_t& style) {
    style = 0;
    for (;;) {
      std::string name;
      if (!In_.ShortString(name)) return false;
      if (name.empty()) return true;
      const auto bit = FindNamed(name, FontStyleNames());
      if (!bit) return false;
      style |= static_cast<std::uint8_t>(*bit);
    }
  }

  bool ItemsData() {
    TValueCode code{};
    std::int32_t length = 0;
    std::int32_t blockSize = 0;
    if (!In_.Code(code) || code != TValueCode::Binary || !In_.Int32(length)) return false;
    if (length < 4 || static_cast<std::uint64_t>(length) > In_.Remaining()) return false;
    if (!In_.Int32(blockSize)) return false;
    if (blockSize < static_cast<std::int32_t>(kRowBlockHeaderSize) || blockSize > length) return false;
    if (Sink_ != nullptr) return StreamRows(static_cast<std::uint64_t>(blockSize) - 4, length - blockSize);
    std::string block;
    if (!In_.Bytes(blockSize - 4, block)) return false;
    // Bytes of the binary value beyond the block belong to nothing.
    std::string surplus;
    if (!In_.Bytes(length - blockSize, surplus)) return false;
    Table_->Clear();
    return AppendRows(block, *Table_);
  }

  // A row block read record by record, never past its BlockSize, and each row
  // handed on as soon as it is whole; then what is left of the block and of
  // the binary value is passed over.
  bool StreamRows(std::uint64_t left, std::int64_t surplus) {
    std::int32_t rowCount = 0;
    if (left < 4 || !In_.Int32(rowCount)) return false;
    left -= 4;
    if (rowCount < 0 || static_cast<std::uint64_t>(rowCount) > left / kRowBlockRecordMin) return false;
    TRowMaker maker;
    TKeptCells numbers;
    std::string caption;
    std::vector<std::string> subs;
    bool wanted = true;
    for (std::int32_t i = 0; i < rowCount; ++i) {
      if (!RowRecord(numbers, caption, subs, left)) return false;
      if (wanted) wanted = (*Sink_)(maker.Make(numbers, std::move(caption), subs));
    }
    return Skip(static_cast<std::int64_t>(left) + surplus);
  }

  bool RowRecord(TKeptCells& numbers, std::string& caption, std::vector<std::string>& subs, std::uint64_t& left) {
    std::int32_t subCount = 0;
    if (left < kRowBlockRecordMin || !In_.Int32(numbers.ImageNo) || !In_.Int32(numbers.StateImageNo) ||
        !In_.Int32(numbers.OverlayNo) || !In_.Int32(subCount) || !In_.Int32(numbers.UserWord))
      return false;
    left -= 20;
    if (!Text(caption, left)) return false;
    if (subCount < 0 || subCount > kMostSubItems || static_cast<std::uint64_t>(subCount) > left) return false;
    subs.resize(static_cast<std::size_t>(subCount));
    for (std::string& sub : subs)
      if (!Text(sub, left)) return false;
    return true;
  }

  bool Text(std::string& text, std::uint64_t& left) {
    if (!In_.ShortString(text) || text.size() + 1 > left) return false;
    left -= text.size() + 1;
    return true;
  }

  bool Skip(std::int64_t count) {
    std::string scratch;
    for (constexpr std::int64_t kPiece = 4096; count > 0; count -= kPiece)
      if (!In_.Bytes(std::min(count, kPiece), scratch)) return false;
    return true;
  }

  static constexpr std::uint64_t kRowBlockRecordMin = kRowRecordMinSize;

  TValueReader In_;
  TResultTable* Table_;  // none when the rows go to Sink_
  TResultLayout& Layout_;
  const TRowSink* Sink_ = nullptr;
};

}  // namespace

bool ReadResultTable(TByteSource& source, TResultTable& table, TResultLayout& layout) {
  table.Clear();
  return TResultStreamReader(source, &table, layout, nullptr).Read();
}

bool ReadResultTable(TByteSource& source, TResultLayout& layout, const TRowSink& sink) {
  return TResultStreamReader(source, nullptr, layout, &sink).Read();
}

}  // namespace vt
