#include "results/ValueReader.h"

namespace vt {

bool TValueReader::Byte(std::uint8_t& byte) {
  char c = 0;
  if (!Source_.Read(&c, 1)) return false;
  byte = static_cast<std::uint8_t>(c);
  return true;
}

bool TValueReader::Code(TValueCode& code) {
  std::uint8_t byte = 0;
  if (!Byte(byte) || byte > static_cast<std::uint8_t>(TValueCode::Collection)) return false;
  code = static_cast<TValueCode>(byte);
  return true;
}

bool TValueReader::Int32(std::int32_t& value) {
  char bytes[4];
  if (!Source_.Read(bytes, sizeof bytes)) return false;
  std::uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= std::uint32_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
  value = static_cast<std::int32_t>(bits);
  return true;
}

bool TValueReader::ShortString(std::string& text) {
  std::uint8_t length = 0;
  return Byte(length) && Bytes(length, text);
}

bool TValueReader::Bytes(std::int64_t length, std::string& text) {
  if (length < 0 || static_cast<std::uint64_t>(length) > Source_.Remaining()) return false;
  text.resize(static_cast<std::size_t>(length));
  return Source_.Read(text.data(), text.size());
}

bool TValueReader::IntegerOf(TValueCode code, std::int32_t& value) {
  char bytes[2];
  switch (code) {
    case TValueCode::Int8: {
      if (!Source_.Read(bytes, 1)) return false;
      // Two's complement: the bytes from 0x80 on are the negative numbers.
      const int byte = static_cast<unsigned char>(bytes[0]);
      value = byte < 0x80 ? byte : byte - 0x100;
      return true;
    }
    case TValueCode::Int16:
      if (!Source_.Read(bytes, 2)) return false;
      value = static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[0]) |
                                                                   (static_cast<unsigned char>(bytes[1]) << 8)));
      return true;
    case TValueCode::Int32: return Int32(value);
    default: return false;
  }
}

bool TValueReader::Integer(std::int32_t& value) {
  TValueCode code{};
  return Code(code) && IntegerOf(code, value);
}

bool TValueReader::TextOf(TValueCode code, std::string& text) {
  if (code == TValueCode::String) return ShortString(text);
  if (code != TValueCode::LongString) return false;
  std::int32_t length = 0;
  return Int32(length) && Bytes(length, text);
}

}  // namespace vt
