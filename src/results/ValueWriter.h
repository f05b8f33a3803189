#pragma once
// Writes the values of a result stream: code bytes, integers in their smallest
// form, short strings and property names.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "results/ByteSink.h"
#include "results/ValueCode.h"

namespace vt {

// Little-endian bytes of a 32-bit integer, appended to out.
void AppendInt32(std::string& out, std::int32_t value);
// A length byte and at most 255 bytes of text (cut on a character boundary).
void AppendShortString(std::string& out, std::string_view text);
// The size AppendShortString gives text.
std::size_t ShortStringSize(std::string_view text);

class TValueWriter {
 public:
  explicit TValueWriter(TByteSink& sink) : Sink_(sink) {}

  void Raw(std::string_view bytes);
  void Code(TValueCode code);
  void ShortString(std::string_view text);
  void Name(std::string_view name) { ShortString(name); }

  void Integer(std::int32_t value);
  void String(std::string_view text);
  void Ident(std::string_view identifier);
  void Boolean(bool value);
  // The member names, then the closing empty name.
  void Set(const std::vector<std::string_view>& members);
  void Binary(std::string_view block);
  // The code and length of a binary value whose bytes follow through Raw.
  void BinaryHead(std::uint64_t size);

  // False once the sink refused a write.
  bool Ok() const { return Ok_; }

 private:
  TByteSink& Sink_;
  bool Ok_ = true;
};

}  // namespace vt
