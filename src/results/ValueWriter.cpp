#include "results/ValueWriter.h"

#include "results/TextCut.h"

namespace vt {
namespace {

std::string IntegerBytes(std::int32_t value) {
  std::string out;
  if (value >= INT8_MIN && value <= INT8_MAX) {
    out.push_back(static_cast<char>(TValueCode::Int8));
    out.push_back(static_cast<char>(value & 0xFF));
  } else if (value >= INT16_MIN && value <= INT16_MAX) {
    out.push_back(static_cast<char>(TValueCode::Int16));
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
  } else {
    out.push_back(static_cast<char>(TValueCode::Int32));
    AppendInt32(out, value);
  }
  return out;
}

}  // namespace

void AppendInt32(std::string& out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((bits >> shift) & 0xFF));
}

void AppendShortString(std::string& out, std::string_view text) {
  const std::string_view cut = CutText(text, kShortStringMax);
  out.push_back(static_cast<char>(cut.size()));
  out.append(cut);
}

std::size_t ShortStringSize(std::string_view text) { return 1 + CutText(text, kShortStringMax).size(); }

void TValueWriter::Raw(std::string_view bytes) {
  if (Ok_ && !Sink_.Write(bytes)) Ok_ = false;
}

void TValueWriter::Code(TValueCode code) {
  const char byte = static_cast<char>(code);
  Raw(std::string_view(&byte, 1));
}

void TValueWriter::ShortString(std::string_view text) {
  std::string out;
  AppendShortString(out, text);
  Raw(out);
}

void TValueWriter::Integer(std::int32_t value) { Raw(IntegerBytes(value)); }

void TValueWriter::String(std::string_view text) {
  Code(TValueCode::String);
  ShortString(text);
}

void TValueWriter::Ident(std::string_view identifier) {
  Code(TValueCode::Ident);
  ShortString(identifier);
}

void TValueWriter::Boolean(bool value) { Code(value ? TValueCode::True : TValueCode::False); }

void TValueWriter::Set(const std::vector<std::string_view>& members) {
  Code(TValueCode::Set);
  for (const std::string_view member : members) ShortString(member);
  ShortString("");
}

void TValueWriter::Binary(std::string_view block) {
  BinaryHead(block.size());
  Raw(block);
}

void TValueWriter::BinaryHead(std::uint64_t size) {
  std::string head(1, static_cast<char>(TValueCode::Binary));
  AppendInt32(head, static_cast<std::int32_t>(size));
  Raw(head);
}

}  // namespace vt
