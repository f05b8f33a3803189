#pragma once
// Reads the values of a result stream. Every read checks the input; a false
// return means the stream is malformed and the reader must stop.
#include <cstdint>
#include <string>

#include "results/ByteSource.h"
#include "results/ValueCode.h"

namespace vt {

class TValueReader {
 public:
  explicit TValueReader(TByteSource& source) : Source_(source) {}

  [[nodiscard]] bool Byte(std::uint8_t& byte);
  [[nodiscard]] bool Peek(std::uint8_t& byte) { return Source_.Peek(byte); }
  [[nodiscard]] bool Code(TValueCode& code);
  [[nodiscard]] bool Int32(std::int32_t& value);
  [[nodiscard]] bool ShortString(std::string& text);
  // length bytes into text; refuses a negative length or one past the input.
  [[nodiscard]] bool Bytes(std::int64_t length, std::string& text);

  // The payload of an integer code already read; false for any other code.
  [[nodiscard]] bool IntegerOf(TValueCode code, std::int32_t& value);
  // A whole integer value: its code and payload.
  [[nodiscard]] bool Integer(std::int32_t& value);
  // The payload of svString or svLongString.
  [[nodiscard]] bool TextOf(TValueCode code, std::string& text);

  std::uint64_t Remaining() const { return Source_.Remaining(); }

 private:
  TByteSource& Source_;
};

}  // namespace vt
