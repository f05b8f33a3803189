// Integers of a result stream are little-endian two's complement: the top bit
// of their last byte is the sign, whatever the signedness of char.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "results/ByteSource.h"
#include "results/ValueReader.h"

namespace vt {
namespace {

TEST(ValueReader, IntegersReadTheirSignFromTheTopBit) {
  const struct {
    std::string Bytes;  // the code, then the payload
    std::int32_t Value;
  } cases[] = {
      {std::string("\x02\x00", 2), 0},
      {"\x02\x7f", 127},
      {"\x02\x80", -128},
      {"\x02\xf4", -12},
      {"\x02\xff", -1},
      {"\x03\xff\x7f", 32767},
      {std::string("\x03\x00\x80", 3), -32768},
      {"\x03\xd4\xfe", -300},
      {"\x03\xff\xff", -1},
      {"\x04\xff\xff\xff\x7f", std::numeric_limits<std::int32_t>::max()},
      {std::string("\x04\x00\x00\x00\x80", 5), std::numeric_limits<std::int32_t>::min()},
      {"\x04\xa0\x86\x01\x80", -2147383648},
  };
  for (const auto& c : cases) {
    TMemorySource source(c.Bytes);
    TValueReader reader(source);
    std::int32_t value = 1;
    ASSERT_TRUE(reader.Integer(value)) << testing::PrintToString(c.Bytes);
    EXPECT_EQ(value, c.Value) << testing::PrintToString(c.Bytes);
    EXPECT_EQ(reader.Remaining(), 0u);
  }
}

TEST(ValueReader, AnIntegerCutShortIsMalformed) {
  for (const std::string bytes : {"\x02", "\x03\xff", "\x04\xff\xff\xff", "\x06"}) {
    TMemorySource source(bytes);
    TValueReader reader(source);
    std::int32_t value = 0;
    EXPECT_FALSE(reader.Integer(value)) << testing::PrintToString(bytes);
  }
}

}  // namespace
}  // namespace vt
