#include <gtest/gtest.h>

#include "platform/MaskMatch.h"

namespace vt {
namespace {

struct TMaskCase {
  const char* mask;
  const char* name;
  bool selected;
};

const TMaskCase kMaskCases[] = {
    {"*", "anything", true},
    {"*", ".", true},
    {"*", "..", true},
    {"*.*", "README", true},
    {"*.*", "a.b.c", true},
    {"*.*", "..", true},
    {"*.txt", "a.TXT", true},
    {"*.TXT", "a.txt", true},
    {"*.txt", "a.txt.bak", false},
    {"*.txt", "atxt", false},
    {"a*b*c", "aXXbYYc", true},
    {"a*b*c", "aXXbYY", false},
    {"*a", "banana", true},
    {"*an*an*", "banana", true},
    {"*an*an*an*", "banana", false},
    {"?.txt", "b.TXT", true},
    {"?.txt", "ab.txt", false},
    {"??", "a", false},
    // "?" is one UTF-8 character; a stray byte counts as one.
    {"?.txt", "\xc3\xa9.txt", true},
    {"??.txt", "\xc3\xa9.txt", false},
    {"?.txt", "\xe6\x97\xa5.txt", true},
    {"?", "\xf0\x9f\x98\x80", true},
    {"?.txt", "\xff.txt", true},
    {"?.txt", "\xc3.txt", true},
    {"??.txt", "\xc3.txt", false},
    {"*?", "\xc3\xa9", true},
    {"*??", "\xc3\xa9", false},
    {"\xc3\xa9*", "\xc3\xa9t\xc3\xa9.doc", true},
    // Only ASCII letters fold.
    {"\xc3\x89*", "\xc3\xa9", false},
    {"\xc3\x89*", "\xc3\x89", true},
    // A tail ".*" also selects the name without it.
    {"read.*", "read", true},
    {"read.*", "read.me", true},
    {"read.*", "readme", false},
    {"a*.*", "abc", true},
    {".*", ".profile", true},
    {".*", ".", true},
    {".*", "profile", false},
    {"*.", "notes.", true},
    {"*.", "notes", false},
    // No character classes: brackets are literal.
    {"[ab]*", "a", false},
    {"[ab]*", "[ab].txt", true},
    {"", "a", false},
    {"exact.txt", "EXACT.TXT", true},
    {"exact.txt", "exact.txt2", false},
};

TEST(MaskMatch, SelectsAsTheTableSays) {
  for (const TMaskCase& c : kMaskCases)
    EXPECT_EQ(MaskMatches(c.mask, c.name), c.selected) << "mask \"" << c.mask << "\" name \"" << c.name << "\"";
}

TEST(MaskMatch, LongStarRunsEndQuickly) {
  const std::string name(200, 'a');
  EXPECT_FALSE(MaskMatches("*a*a*a*a*a*a*a*a*a*a*b", name));
  EXPECT_TRUE(MaskMatches("*a*a*a*a*a*a*a*a*a*a*", name));
}

}  // namespace
}  // namespace vt
