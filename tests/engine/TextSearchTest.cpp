#include <gtest/gtest.h>

#include <string>

#include "engine/TextSearch.h"

namespace vt {
namespace {

TEST(StrIPos, FoldsOnlyAsciiLetters) {
  EXPECT_EQ(StrIPos("Holiday Photo", "PHOTO"), 9);
  EXPECT_EQ(StrIPos("abc", "ABC"), 1);
  EXPECT_EQ(StrIPos("abc", ""), 0);
  EXPECT_EQ(StrIPos("abc", "abcd"), 0);
  EXPECT_EQ(StrIPos("\xC3\x89t\xC3\xA9", "\xC3\xA9"), 3);  // É is not é
  EXPECT_EQ(StrIPos("\xE6\x97\xA5x", "X"), 2);             // positions count characters
}

TEST(FindText, NeverSplitsACharacter) {
  const std::string s = "\xC3\xA9\xA9";  // é followed by a stray continuation byte
  EXPECT_EQ(FindText(s, "\xA9", 0, TCase::Sensitive), 2u);
  EXPECT_EQ(FindText(s, "\xC3", 0, TCase::Sensitive), NotFound);
  EXPECT_EQ(FindText("\xE6\x97\xA5", "\x97", 0, TCase::Insensitive), NotFound);
  EXPECT_EQ(FindText("aXbx", "x", 2, TCase::Insensitive), 3u);
  EXPECT_EQ(FindText("aXbx", "x", 0, TCase::Insensitive), 1u);
  EXPECT_EQ(FindText("aXbx", "x", 0, TCase::Sensitive), 3u);
}

TEST(CountOccurrences, CountsWithoutOverlap) {
  EXPECT_EQ(CountOccurrences("aa", "aaaa"), 2);
  EXPECT_EQ(CountOccurrences("aa", "aaa"), 1);
  EXPECT_EQ(CountOccurrences("b", "abab"), 2);
  EXPECT_EQ(CountOccurrences("B", "abab"), 0);
  EXPECT_EQ(CountOccurrences("B", "abab", TCase::Insensitive), 2);
  EXPECT_EQ(CountOccurrences("", "abc"), 0);
  EXPECT_EQ(CountOccurrences("x", std::string(300, 'x')), 255);  // an 8-bit count
}

TEST(RemoveChar, RemovesWholeCharactersOnly) {
  EXPECT_EQ(RemoveChar("a.b.c", '.'), "abc");
  EXPECT_EQ(RemoveChar("...", '.'), "");
  EXPECT_EQ(RemoveChar("abc", 'x'), "abc");
  EXPECT_EQ(RemoveChar("\xC3\xA9\xA9", '\xA9'), "\xC3\xA9");
}

TEST(HasWildcard, SeesStarAndQuestionMark) {
  EXPECT_TRUE(HasWildcard("*.txt"));
  EXPECT_TRUE(HasWildcard("a?"));
  EXPECT_FALSE(HasWildcard("plain.txt"));
  EXPECT_FALSE(HasWildcard(""));
}

TEST(ReplaceText, ReplacesLiteralOccurrences) {
  struct Case {
    const char* source;
    const char* pattern;
    const char* replacement;
    TOccurrences occurrences;
    TCase rule;
    const char* result;
  } const cases[] = {
      {"a_b_c", "_", "-", TOccurrences::First, TCase::Sensitive, "a-b_c"},
      {"a_b_c", "_", "-", TOccurrences::Every, TCase::Sensitive, "a-b-c"},
      {"aXbx", "x", "y", TOccurrences::Every, TCase::Insensitive, "ayby"},
      {"aXbx", "x", "y", TOccurrences::Every, TCase::Sensitive, "aXby"},
      {"abc", "z", "y", TOccurrences::Every, TCase::Sensitive, "abc"},
      {"abc", "", "y", TOccurrences::Every, TCase::Sensitive, "abc"},
      {"aaa", "a", "aa", TOccurrences::Every, TCase::Sensitive, "aaaaaa"},  // never re-searched
      {"aaaa", "aa", "b", TOccurrences::Every, TCase::Sensitive, "bb"},
      {"a*b*c", "*", "", TOccurrences::Every, TCase::Sensitive, "abc"},  // literal "*"
      {"x\xC3\xA9x", "\xC3\xA9", "e", TOccurrences::First, TCase::Insensitive, "xex"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceText(c.source, c.pattern, c.replacement, c.occurrences, c.rule), c.result)
        << c.source << " / " << c.pattern;
  }
}

// Every later search needs the pattern as it was, even when it viewed into the
// text being changed.
TEST(ReplaceText, InPlaceWithViewsIntoTheText) {
  std::string text = "abab";
  const std::string_view view = text;
  ReplaceTextInPlace(text, view.substr(0, 1), view.substr(1, 1), TOccurrences::Every, TCase::Sensitive);
  EXPECT_EQ(text, "bbbb");
  std::string grown = "ab_ab";
  const std::string_view whole = grown;
  ReplaceTextInPlace(grown, whole.substr(0, 2), whole, TOccurrences::Every, TCase::Sensitive);
  EXPECT_EQ(grown, "ab_ab_ab_ab");
}

}  // namespace
}  // namespace vt
