#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/StringPrimitives.h"
#include "engine/TextHelpers.h"

namespace vt {
namespace {

TEST(Copy, ClampsStartAndCountToTheText) {
  struct Case {
    int i, n;
    const char* result;
  } const cases[] = {
      {1, 3, "abc"}, {2, 2, "bc"}, {0, 2, "ab"}, {-5, 1, "a"}, {4, 10, "def"},
      {6, 1, "f"},   {7, 1, ""},   {3, 0, ""},   {3, -1, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Copy("abcdef", c.i, c.n), c.result) << c.i << "," << c.n;
}

TEST(Delete, IgnoresPositionsOutsideTheTextAndClampsTheCount) {
  struct Case {
    int i, n;
    const char* result;
  } const cases[] = {
      {1, 2, "cdef"},   {5, 9, "abcd"},    {6, 1, "abcde"},  {7, 1, "abcdef"},
      {0, 2, "abcdef"}, {-1, 3, "abcdef"}, {2, 0, "abcdef"}, {2, -2, "abcdef"},
  };
  for (const auto& c : cases) {
    std::string s = "abcdef";
    Delete(s, c.i, c.n);
    EXPECT_EQ(s, c.result) << c.i << "," << c.n;
  }
}

TEST(Insert, ClampsThePositionToTheText) {
  struct Case {
    int i;
    const char* result;
  } const cases[] = {{1, "XYabc"}, {0, "XYabc"}, {-3, "XYabc"}, {2, "aXYbc"}, {4, "abcXY"}, {9, "abcXY"}};
  for (const auto& c : cases) {
    std::string s = "abc";
    Insert("XY", s, c.i);
    EXPECT_EQ(s, c.result) << c.i;
  }
}

TEST(StringPrimitives, CountUtf8Characters) {
  const std::string s = "\xC3\xA9t\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80";  // été日😀
  EXPECT_EQ(Length(s), 5);
  EXPECT_EQ(Copy(s, 2, 2), "t\xC3\xA9");
  EXPECT_EQ(Copy(s, 4, 9), "\xE6\x97\xA5\xF0\x9F\x98\x80");
  std::string d = s;
  Delete(d, 1, 1);
  EXPECT_EQ(d, "t\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80");
  std::string i = s;
  Insert("-", i, 5);
  EXPECT_EQ(i, "\xC3\xA9t\xC3\xA9\xE6\x97\xA5-\xF0\x9F\x98\x80");
  std::string bad =
      "a\xFF\xC3"
      "b";  // invalid bytes are characters of their own
  EXPECT_EQ(Length(bad), 4);
  Delete(bad, 2, 1);
  EXPECT_EQ(bad,
            "a\xC3"
            "b");
}

TEST(SplitString, KeepsPiecesAsTyped) {
  struct Case {
    const char* text;
    std::vector<std::string> pieces;
  } const cases[] = {
      {"*.txt;*.doc", {"*.txt", "*.doc"}},
      {"*.txt;", {"*.txt", ""}},
      {";a;;b", {"", "a", "", "b"}},
      {" *.a ; b", {" *.a ", " b"}},
      {"", {""}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> list{"kept"};
    SplitString(c.text, ';', list);
    std::vector<std::string> expected{"kept"};
    expected.insert(expected.end(), c.pieces.begin(), c.pieces.end());
    EXPECT_EQ(list, expected) << c.text;
  }
}

TEST(IncludeBackslash, AppendsThePlatformSeparatorOnce) {
  EXPECT_EQ(IncludeBackslash("/home/u"), "/home/u/");
  EXPECT_EQ(IncludeBackslash("/home/u/"), "/home/u/");
  EXPECT_EQ(IncludeBackslash("/"), "/");
  EXPECT_EQ(IncludeBackslash(""), "/");
  EXPECT_EQ(IncludeBackslash("dir\\"), "dir\\/");
}

TEST(LastCharPos, CountsCharacters) {
  EXPECT_EQ(LastCharPos('.', "report.final.doc"), 13);
  EXPECT_EQ(LastCharPos('.', "README"), 0);
  EXPECT_EQ(LastCharPos('.', ".profile"), 1);
  EXPECT_EQ(LastCharPos('.', "notes."), 6);
  EXPECT_EQ(LastCharPos('.', "\xC3\xA9t\xC3\xA9.txt"), 4);
  // A byte that belongs to a character is not found on its own.
  EXPECT_EQ(LastCharPos('\xA9', "\xC3\xA9"), 0);
  EXPECT_EQ(LastCharPos('\xA9', "\xC3\xA9\xA9"), 2);
}

}  // namespace
}  // namespace vt
