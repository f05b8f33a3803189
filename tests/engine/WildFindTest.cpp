#include <gtest/gtest.h>

#include <string>

#include "engine/WildFind.h"

namespace vt {
namespace {

struct FindCase {
  const char* pattern;
  std::string subject;
  int position;  // 0: no match
  std::string match;
  TCase rule = TCase::Insensitive;
};

void ExpectFinds(const FindCase& c) {
  const TWildMatch m = WildFind(c.pattern, c.subject, c.rule);
  EXPECT_EQ(m.Position, c.position) << c.pattern << " in " << c.subject;
  EXPECT_EQ(std::string(m.Text), c.match) << c.pattern << " in " << c.subject;
  if (m) {
    EXPECT_EQ(c.subject.substr(m.Offset, m.Text.size()), std::string(m.Text));
  }
}

TEST(WildFind, ListedResults) {
  const FindCase cases[] = {
      {"a*c", "xabbcx", 2, "abbc"},
      {"a*b*c", "xaybzcw", 2, "aybzc"},
      {"r?p*t", "report", 1, "report"},
      {"a?a", "aba", 1, "aba"},
      {"?b", "aabab", 2, "ab"},
      {"*b", "aabab", 1, "aab"},
      {"??", "file", 0, ""},
      {"?", "f", 1, "f"},
      {"ab?", "xab", 0, ""},
      {"a?c", "xaccx", 0, ""},
      {"*", "", 1, ""},
  };
  for (const auto& c : cases) ExpectFinds(c);
}

TEST(WildFind, Steps) {
  const FindCase cases[] = {
      // plain
      {"photo", "holiday photo", 9, "photo"},
      {"PHOTO", "holiday photo", 9, "photo"},
      {"PHOTO", "holiday photo", 0, "", TCase::Sensitive},
      {"img_", "IMG_0042", 1, "IMG_"},
      {"", "abc", 0, ""},
      {"x", "", 0, ""},
      // all-wildcard patterns
      {"*", "abc", 1, "abc"},
      {"**", "abc", 1, "abc"},
      {"???", "abc", 1, "abc"},
      {"????", "abc", 0, ""},
      {"?", "", 0, ""},
      {"*?", "ab", 1, "ab"},  // mixed run means "*"
      {"?*?", "", 1, ""},
      // leading run of "*"
      {"*c", "abcabc", 1, "abc"},
      {"*x", "abc", 0, ""},
      {"*b*", "abcb", 1, "abcb"},
      {"*b?", "abcb", 1, "abc"},
      // leading run of "?"
      {"??c", "abcabc", 1, "abc"},
      {"?c", "abcabc", 2, "bc"},
      {"???c", "abcabc", 3, "cabc"},
      // the second occurrence when the first lies too close to the start
      {"?a", "aXa", 2, "Xa"},
      {"??a", "aXa", 1, "aXa"},
      {"??a", "aa", 0, ""},  // the second occurrence is still too close
      {"??a", "aXYa", 2, "XYa"},
      {"?b", "b", 0, ""},     // found only once
      {"?aa", "aaa", 0, ""},  // the other occurrence overlaps the first
      {"?aa", "aaaaa", 2, "aaa"},
      {"?a", "Axa", 2, "xa"},  // both occurrences under the case rule
      {"?a", "Axa", 2, "xa", TCase::Sensitive},
      // mixed leading runs lose their "?"
      {"?*c", "abc", 1, "abc"},
      {"*?c", "c", 1, "c"},
      // middle runs
      {"a*", "xabc", 2, "abc"},  // trailing "*"
      {"a?", "xabc", 2, "ab"},   // trailing "?"
      {"c?", "abc", 0, ""},
      {"a??", "xabc", 2, "abc"},
      {"a??", "xab", 0, ""},
      {"a**", "xab", 2, "ab"},
      {"a?*", "xab", 2, "ab"},  // mixed: same as "a*"
      {"a*?", "xa", 2, "a"},
      {"a*?b", "xayb", 2, "ayb"},
      {"a??d", "abcd", 1, "abcd"},
      {"a??d", "abd", 0, ""},
      {"a?d", "abcd", 0, ""},
      {"a*d", "ad", 1, "ad"},
      {"a*b", "ba", 0, ""},
      {"x*y", "xy", 1, "xy"},
      {"a*b?d", "aXbcd", 1, "aXbcd"},
      {"a*b?d", "aXbbd", 1, "aXbbd"},
      {"a*b?d", "aXbYbZd", 0, ""},  // only the first b after the a is tried
      {"a*b*", "aXbYb", 1, "aXbYb"},
      {"s*g", "song01", 1, "song"},
      {"song??", "song01", 1, "song01"},
      {"r?", "memo-r1-r2", 6, "r1"},
      {"_*_", "report_2020_final", 7, "_2020_"},
      // the first literal is taken where it first occurs
      {"b*d", "abcbd", 2, "bcbd"},
      {"b?d", "abcbd", 0, ""},
  };
  for (const auto& c : cases) ExpectFinds(c);
}

TEST(WildFind, MatchedTextKeepsTheSubjectsCase) {
  ExpectFinds({"A*C", "xAbBcX", 2, "AbBc"});
  ExpectFinds({"a*c", "xAbBcX", 0, "", TCase::Sensitive});
  ExpectFinds({"É", "\xC3\xA9", 0, ""});  // accented letters compare exactly
}

TEST(WildFind, SubjectWildcardsAreLiteral) {
  // Text taken from the name is never read as a pattern again.
  const FindCase cases[] = {
      {"a*c", "a*b*c", 1, "a*b*c"},   {"*?", "***", 1, "***"},     {"?b*", "?b*b", 1, "?b*b"},
      {"a?b*c", "a?b*c", 1, "a?b*c"}, {"*b?", "*?b??", 1, "*?b?"}, {"a*b?x", "a?b?x", 1, "a?b?x"},
      {"a*b?x", "a?b??x", 0, ""},     {"x*", "x?*?", 1, "x?*?"},   {"?*", "*", 1, "*"},
      {"\\*", "a\\*", 2, "\\*"},
  };
  for (const auto& c : cases) ExpectFinds(c);
}

TEST(WildFind, CountsUtf8Characters) {
  const std::string e = "\xC3\xA9";        // é
  const std::string cjk = "\xE6\x97\xA5";  // 日
  const std::string emoji = "\xF0\x9F\x98\x80";
  const FindCase cases[] = {
      {"?", e, 1, e},
      {"??", e, 0, ""},
      {"??", cjk + emoji, 1, cjk + emoji},
      {"a?c", "a" + e + "c", 1, "a" + e + "c"},
      {"a??c", "a" + e + "c", 0, ""},
      {"?b", e + "b", 1, e + "b"},
      {"?b", "x" + cjk + "b", 2, cjk + "b"},
      {"b?", "b" + emoji + "x", 1, "b" + emoji},
      {"*日", "ab" + cjk + "c", 1, "ab" + cjk},
      {"日?", "x" + cjk + emoji, 2, cjk + emoji},
      {"?x",
       "\xFF"
       "x",
       1,
       "\xFF"
       "x"},  // an invalid byte is one character
      {"??",
       "\xC3"
       "a",
       1,
       "\xC3"
       "a"},
      {"\xA9", e, 0, ""},               // never inside a character
      {"a?", "a\xE6\x97", 1, "a\xE6"},  // a cut sequence is bytes, one each
  };
  for (const auto& c : cases) ExpectFinds(c);
}

}  // namespace
}  // namespace vt
