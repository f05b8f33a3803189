// Checks the matcher against a plain glob over many small generated cases: every
// match it reports is a true match of the pattern, at the place it says.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/Utf8.h"
#include "engine/WildFind.h"

namespace vt {
namespace {

std::vector<std::string> Chars(std::string_view s) {
  std::vector<std::string> chars;
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t n = CharSize(s, i);
    chars.emplace_back(s.substr(i, n));
    i += n;
  }
  return chars;
}

bool SameChar(const std::string& a, const std::string& b, TCase rule) {
  if (a.size() != 1 || b.size() != 1 || rule == TCase::Sensitive) return a == b;
  return AsciiLower(a[0]) == AsciiLower(b[0]);
}

// Whole-text glob; p and t are character lists.
bool Glob(const std::vector<std::string>& p, std::size_t i, const std::vector<std::string>& t, std::size_t j,
          TCase rule) {
  if (i == p.size()) return j == t.size();
  if (p[i] == "*") {
    for (std::size_t k = j; k <= t.size(); ++k) {
      if (Glob(p, i + 1, t, k, rule)) return true;
    }
    return false;
  }
  if (j == t.size()) return false;
  if (p[i] != "?" && !SameChar(p[i], t[j], rule)) return false;
  return Glob(p, i + 1, t, j + 1, rule);
}

bool HasMixedRun(std::string_view pattern) {
  bool star = false, question = false;
  for (const char c : pattern) {
    if (c == '*')
      star = true;
    else if (c == '?')
      question = true;
    else
      star = question = false;
    if (star && question) return true;
  }
  return false;
}

std::string Generate(std::mt19937& random, const std::vector<std::string>& alphabet, std::size_t maxLength) {
  std::uniform_int_distribution<std::size_t> length(0, maxLength);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::string s;
  for (std::size_t n = length(random); n > 0; --n) s += alphabet[pick(random)];
  return s;
}

TEST(WildFindProperty, EveryMatchIsAGlobMatchWhereItSays) {
  std::mt19937 random(20240601);
  const std::vector<std::string> patternChars = {"a", "b", "A", "*", "?", "\xC3\xA9"};
  const std::vector<std::string> subjectChars = {"a", "b", "A", "B", "*", "?", "\xC3\xA9", "\xFF"};
  int matches = 0;
  for (int round = 0; round < 60000; ++round) {
    const std::string pattern = Generate(random, patternChars, 6);
    const std::string subject = Generate(random, subjectChars, 9);
    const TCase rule = round % 2 ? TCase::Sensitive : TCase::Insensitive;
    const TWildMatch m = WildFind(pattern, subject, rule);
    if (!m) continue;
    ++matches;
    ASSERT_FALSE(pattern.empty());
    ASSERT_LE(m.Offset + m.Text.size(), subject.size());
    ASSERT_EQ(m.Text.data(), subject.data() + m.Offset);
    ASSERT_TRUE(IsCharBoundary(subject, m.Offset) && IsCharBoundary(subject, m.Offset + m.Text.size()));
    ASSERT_EQ(static_cast<std::size_t>(m.Position), CharCount(subject.substr(0, m.Offset)) + 1);
    if (!HasMixedRun(pattern)) {
      ASSERT_TRUE(Glob(Chars(pattern), 0, Chars(m.Text), 0, rule))
          << "pattern " << pattern << " subject " << subject << " match " << m.Text;
    }
  }
  EXPECT_GT(matches, 10000);  // the generator reaches the interesting cases
}

TEST(WildFindProperty, PlainPatternsFindTheFirstOccurrence) {
  std::mt19937 random(7);
  const std::vector<std::string> chars = {"a", "b", "A", "\xC3\xA9", "\xA9", "\xC3"};
  for (int round = 0; round < 20000; ++round) {
    const std::string pattern = Generate(random, chars, 3);
    const std::string subject = Generate(random, chars, 8);
    const TCase rule = round % 2 ? TCase::Sensitive : TCase::Insensitive;
    const TWildMatch m = WildFind(pattern, subject, rule);
    const std::size_t at = FindText(subject, pattern, 0, rule);
    ASSERT_EQ(static_cast<bool>(m), at != NotFound) << pattern << " in " << subject;
    if (m) {
      ASSERT_EQ(m.Offset, at);
    }
  }
}

}  // namespace
}  // namespace vt
