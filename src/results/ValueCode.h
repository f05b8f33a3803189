#pragma once
// The code byte in front of every value of a result stream.
#include <cstdint>

namespace vt {

enum class TValueCode : std::uint8_t {
  End = 0,
  List = 1,
  Int8 = 2,
  Int16 = 3,
  Int32 = 4,
  Extended = 5,
  String = 6,
  Ident = 7,
  False = 8,
  True = 9,
  Binary = 10,
  Set = 11,
  LongString = 12,
  Nil = 13,
  Collection = 14,
};

inline constexpr bool IsIntegerCode(TValueCode code) {
  return code == TValueCode::Int8 || code == TValueCode::Int16 || code == TValueCode::Int32;
}

// The signature every result stream starts with.
inline constexpr char kStreamSignature[] = "TPF0";
// Short strings hold at most this many bytes.
inline constexpr std::size_t kShortStringMax = 255;

}  // namespace vt
