#pragma once
// Builds property streams byte by byte, independently of the writer, for the
// reader's tests.
#include <cstdint>
#include <string>
#include <string_view>

namespace vt::test {

class TStreamBuilder {
 public:
  TStreamBuilder& Raw(std::string_view bytes) {
    Bytes_.append(bytes);
    return *this;
  }
  TStreamBuilder& Byte(std::uint8_t byte) {
    Bytes_.push_back(static_cast<char>(byte));
    return *this;
  }
  TStreamBuilder& Le32(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) Byte(static_cast<std::uint8_t>(bits >> shift));
    return *this;
  }
  TStreamBuilder& Short(std::string_view text) { return Byte(static_cast<std::uint8_t>(text.size())).Raw(text); }

  // The header the program writes.
  TStreamBuilder& Header() { return Raw("TPF0").Short("TListView").Short("ListView"); }
  TStreamBuilder& End() { return Byte(0); }

  TStreamBuilder& Int8(std::int8_t v) { return Byte(2).Byte(static_cast<std::uint8_t>(v)); }
  TStreamBuilder& Int16(std::int16_t v) {
    return Byte(3).Byte(static_cast<std::uint8_t>(v & 0xFF)).Byte(static_cast<std::uint8_t>((v >> 8) & 0xFF));
  }
  TStreamBuilder& Int32(std::int32_t v) { return Byte(4).Le32(v); }
  TStreamBuilder& String(std::string_view text) { return Byte(6).Short(text); }
  TStreamBuilder& Ident(std::string_view text) { return Byte(7).Short(text); }
  TStreamBuilder& LongString(std::string_view text) {
    return Byte(12).Le32(static_cast<std::int32_t>(text.size())).Raw(text);
  }
  TStreamBuilder& Binary(std::string_view payload) {
    return Byte(10).Le32(static_cast<std::int32_t>(payload.size())).Raw(payload);
  }

  // A property record: name, then whatever value the caller adds.
  TStreamBuilder& Name(std::string_view name) { return Short(name); }

  std::string Bytes() const { return Bytes_; }

 private:
  std::string Bytes_;
};

// A row record of a row block.
inline std::string RowRecord(std::string_view caption, std::initializer_list<std::string_view> subs,
                             std::int32_t image = 0, std::int32_t state = -1, std::int32_t overlay = -1,
                             std::int32_t user = 0) {
  TStreamBuilder b;
  b.Le32(image).Le32(state).Le32(overlay).Le32(static_cast<std::int32_t>(subs.size())).Le32(user);
  b.Short(caption);
  for (std::string_view sub : subs) b.Short(sub);
  return b.Bytes();
}

// A row block: BlockSize, RowCount, the records.
inline std::string RowBlock(std::int32_t rowCount, std::string_view records) {
  TStreamBuilder b;
  b.Le32(static_cast<std::int32_t>(8 + records.size())).Le32(rowCount).Raw(records);
  return b.Bytes();
}

}  // namespace vt::test
