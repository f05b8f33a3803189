#include <gtest/gtest.h>

#include <string>

#include "engine/Utf8.h"

namespace vt {
namespace {

TEST(Utf8, CountsCharactersNotBytes) {
  EXPECT_EQ(CharCount(""), 0u);
  EXPECT_EQ(CharCount("plain"), 5u);
  EXPECT_EQ(CharCount("caf\xC3\xA9"), 4u);               // é
  EXPECT_EQ(CharCount("\xE6\x97\xA5\xE6\x9C\xAC"), 2u);  // 日本
  EXPECT_EQ(CharCount("\xF0\x9F\x98\x80!"), 2u);         // emoji and !
}

TEST(Utf8, EveryInvalidByteIsOneCharacter) {
  struct Case {
    std::string text;
    std::size_t chars;
  } const cases[] = {
      {"\xFF", 1},  // never valid
      {"a\x80"
       "b",
       3},          // lone continuation
      {"\xC3", 1},  // truncated at the end
      {"\xC3"
       "a",
       2},                      // lead without continuation
      {"\xC0\xAF", 2},          // overlong "/"
      {"\xE0\x80\xAF", 3},      // overlong three-byte form
      {"\xED\xA0\x80", 3},      // surrogate
      {"\xF4\x90\x80\x80", 4},  // past U+10FFFF
      {"\xE6\x97", 2},          // truncated CJK
      {"\xF0\x9F\x98", 3},      // truncated emoji
  };
  for (const auto& c : cases) EXPECT_EQ(CharCount(c.text), c.chars) << c.text;
}

TEST(Utf8, BoundariesFollowTheCharacters) {
  const std::string s =
      "a\xC3\xA9\x80"
      "b";  // a, é, stray continuation, b
  EXPECT_TRUE(IsCharBoundary(s, 0));
  EXPECT_TRUE(IsCharBoundary(s, 1));
  EXPECT_FALSE(IsCharBoundary(s, 2));  // inside é
  EXPECT_TRUE(IsCharBoundary(s, 3));   // the stray byte stands alone
  EXPECT_TRUE(IsCharBoundary(s, 4));
  EXPECT_TRUE(IsCharBoundary(s, 5));
  const std::string emoji = "\xF0\x9F\x98\x80";
  for (std::size_t i = 1; i < 4; ++i) EXPECT_FALSE(IsCharBoundary(emoji, i)) << i;
}

TEST(Utf8, AdvanceStopsAtTheEnd) {
  const std::string s = "\xE6\x97\xA5x\xF0\x9F\x98\x80";
  EXPECT_EQ(AdvanceChars(s, 0, 1), 3u);
  EXPECT_EQ(AdvanceChars(s, 0, 2), 4u);
  EXPECT_EQ(AdvanceChars(s, 0, 3), 8u);
  EXPECT_EQ(AdvanceChars(s, 0, 9), 8u);
  EXPECT_EQ(AdvanceChars(s, 3, 1), 4u);
}

TEST(Utf8, OnlyAsciiLettersChangeCase) {
  EXPECT_EQ(AsciiUpper('a'), 'A');
  EXPECT_EQ(AsciiUpper('z'), 'Z');
  EXPECT_EQ(AsciiLower('A'), 'a');
  EXPECT_EQ(AsciiUpper('1'), '1');
  EXPECT_EQ(AsciiUpper('\xE9'), '\xE9');
  EXPECT_EQ(AsciiLower('\xC9'), '\xC9');
}

}  // namespace
}  // namespace vt
