#include <gtest/gtest.h>

#include <string>

#include "engine/WildReplace.h"

namespace vt {
namespace {

TEST(WildReplace, ByPosition) {
  struct Case {
    const char* pattern;
    std::string matched;
    std::string result;
  } const cases[] = {
      // listed results
      {"*_old", "memo", "memo_old"},
      {"new*", "memo", "newo"},
      {"?x?", "abc", "axc"},
      {"track??", "song01", "track1"},
      {"S*G", "song", "SongG"},
      {"R?", "r1", "R1"},
      // "*" on an empty match gives nothing
      {"*", "", ""},
      {"*", "abc", "abc"},
      // the walk ends with the match; the rest stays as typed
      {"x*", "", "x*"},
      {"ab*", "a", "ab*"},
      {"abc*d", "xy", "abc*d"},  // no "?" past the match: nothing is cut
      // pattern longer than the match with a "?" past it: cut to the match's length
      {"a?b?", "xy", "ay"},
      {"????", "ab", "ab"},
      {"ab?", "xy", "ab"},
      // shorter pattern without "*": ends with the pattern
      {"?", "abc", "a"},
      {"?Z", "abc", "aZ"},
      {"X", "abc", "X"},
      // "*" later in the pattern copies from its own position
      {"??*", "abcd", "abcd"},
      {"-*-", "abcd", "-bcd-"},
      {"*?", "ab", "ab?"},
      // characters, not bytes
      {"?", "\xC3\xA9z", "\xC3\xA9"},
      {"?-?", "\xE6\x97\xA5\xF0\x9F\x98\x80\xE6\x9C\xAC", "\xE6\x97\xA5-\xE6\x9C\xAC"},
      {"\xC3\xA9?", "ab",
       "\xC3\xA9"
       "b"},
      {"x?", "\xFF\xFE", "x\xFE"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WildReplace(c.pattern, c.matched), c.result) << c.pattern << " with " << c.matched;
  }
}

}  // namespace
}  // namespace vt
