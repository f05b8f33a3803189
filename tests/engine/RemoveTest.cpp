#include <gtest/gtest.h>

#include <string>

#include "Simulate.h"

namespace vt {
namespace {

TControlValues RemoveString(const std::string& text, bool recursive = false, bool caseSensitive = false) {
  TControlValues controls;
  controls.LstBoxActions = ControlIndex(TOperation::Remove);
  controls.EdDelete = text;
  controls.ComboItemToDelete = ControlIndex(TRemoveKind::String);
  controls.ChkBxDelRecursive = recursive;
  controls.ChkBxCaseSensDel = caseSensitive;
  return controls;
}

TControlValues RemoveCount(int count, int from, int position = 1) {
  TControlValues controls;
  controls.LstBoxActions = ControlIndex(TOperation::Remove);
  controls.ComboItemToDelete = ControlIndex(TRemoveKind::Characters);
  controls.UpDownNbrDelete = count;
  controls.ComboDeleteFrom = from;
  controls.UpDownDeletePos = position;
  return controls;
}

struct RemoveCase {
  std::string file;
  TControlValues controls;
  std::string result;
};

TEST(Remove, ListedResults) {
  const RemoveCase cases[] = {
      {"photo.jpg", RemoveString("o"), "phto.jpg"},
      {"photo.jpg", RemoveString("o", true), "pht.jpg"},
      {"aabb.txt", RemoveString("ab", true), "No change"},
      {"a-b-c.txt", RemoveString("-"), "ab-c.txt"},
      {"A-b.txt", RemoveString("a", false, true), "No Match"},
      {"x.txt", RemoveString("x"), "No change"},
      {"report_2020_final.doc", RemoveString("_*_"), "reportfinal.doc"},
      {"abcdef.txt", RemoveCount(2, 0), "cdef.txt"},
      {"abcdef.txt", RemoveCount(2, 1), "abcd.txt"},
      {"abcdef.txt", RemoveCount(2, 2, 2), "adef.txt"},
      {"abcdef.txt", RemoveCount(2, 3, 1), "abcd.txt"},
      {"abcdef.txt", RemoveCount(2, 3, 2), "abcf.txt"},
      {"abcdef.txt", RemoveCount(2, 3, 6), "No change"},
      {"photo.jpg", RemoveCount(9, 1), "No change"},
  };
  for (const auto& c : cases) EXPECT_EQ(test::Simulate(c.controls, c.file), c.result) << c.file;
}

TEST(Remove, MoreCases) {
  const RemoveCase cases[] = {
      {"photo.jpg", RemoveString(""), "No parameters"},
      {"photo.jpg", RemoveCount(0, 0), "No parameters"},
      {"A-b.txt", RemoveString("a"), "-b.txt"},
      {"photo.jpg", RemoveString("jpg"), "No Match"},  // the extension is never searched
      {"abab.jpg", RemoveString("ab", true), "No change"},
      {"xaabbx.jpg", RemoveString("ab", true), "xx.jpg"},  // a removal joins a new occurrence
      {"a?b.txt", RemoveString("?"), "No Match"},          // a lone "?" needs one character
      {"a*b*c.txt", RemoveString("b*"), "a*.txt"},
      {"**x.txt", RemoveString("*", true), "No change"},  // whole name part matched away
      {"abc.txt", RemoveString("*", true), "No change"},
      {"a*b.txt", RemoveString("*b"), "No change"},
      {"ab*c.txt", RemoveString("b*", true), "a.txt"},
      {"abcdef.txt", RemoveCount(6, 1), "No change"},  // all of it: never removed
      {"abcdef.txt", RemoveCount(7, 0), "No change"},
      {"abcdef.txt", RemoveCount(2, 2, 6), "abcde.txt"},
      {"abcdef.txt", RemoveCount(2, 2, 7), "No change"},
      {"abcdef.txt", RemoveCount(2, 2, 0), "No change"},
      {"abcdef.txt", RemoveCount(2, 3, 5), "cdef.txt"},
      {"abcdef.txt", RemoveCount(2, 3, 7), "No change"},  // start before the first character
      {"abcdef.txt", RemoveCount(2, 3, 4), "adef.txt"},
      {"abcdef.txt", RemoveCount(2, -1), "No change"},  // no selection
      {"abcdef.txt", RemoveCount(-1, 0), "No change"},
      {".profile", RemoveCount(1, 0), "No change"},
      {"data.tar.gz", RemoveCount(4, 1), "data.gz"},
  };
  for (const auto& c : cases) EXPECT_EQ(test::Simulate(c.controls, c.file), c.result) << c.file;
}

TEST(Remove, Utf8Names) {
  const std::string e = "\xC3\xA9";
  const std::string cjk = "\xE6\x97\xA5\xE6\x9C\xAC";
  const std::string emoji = "\xF0\x9F\x98\x80";
  const RemoveCase cases[] = {
      {("caf" + e + "s.txt"), RemoveCount(2, 1), "caf.txt"},
      {(cjk + "x.png"), RemoveCount(1, 0), "\xE6\x9C\xACx.png"},
      {(cjk + emoji + ".png"), RemoveCount(1, 3, 2), "\xE6\x97\xA5" + emoji + ".png"},
      {("a" + emoji + "b.txt"), RemoveString("?b"), "a.txt"},
      {("a" + e + e + "b.txt"), RemoveString(e, true), "ab.txt"},
      {"a\xFF\xFE"
       "b.txt",
       RemoveCount(1, 2, 2),
       "a\xFE"
       "b.txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(test::Simulate(c.controls, c.file), c.result) << c.file;
}

}  // namespace
}  // namespace vt
