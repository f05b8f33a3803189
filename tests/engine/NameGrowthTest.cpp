// The bound on how long a new name can get, which lets a pass skip the look
// for names a volume refuses: it must hold for every name the step makes, and
// be tight enough that everyday settings need no look.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Simulate.h"
#include "engine/NameGrowth.h"
#include "engine/RenameStep.h"
#include "support/ControlValues.h"

namespace vt::test {
namespace {

// The new name the step makes, also one too long to be used; empty for none.
std::string NewName(const TRenameSettings& settings, const std::string& name, const std::string& shortName) {
  TRenameStep step(settings, TPassMode::Simulate);
  step.ProcessFile("/nonexistent/", FileEntry(name, shortName));
  return step.NewName();
}

TControlValues Recursive(TControlValues c) {
  c.ChkBxSearchRecursive = true;
  c.ChkBxSearchInExt = true;
  return c;
}

TControlValues Regex(TControlValues c) {
  c.ChkBxRegex = true;
  return c;
}

TControlValues WithFields(TControlValues c) {
  c.ChkBxUseFields = true;
  return c;
}

TControlValues Based(TControlValues c, const std::string& base, TPlacement at) {
  c.ChkBxUseBaseFilename = true;
  c.ComboBaseFileName = base;
  c.ComboNumberInsertTo = ControlIndex(at);
  return c;
}

TEST(NameGrowth, EveryNewNameStaysWithinItsBound) {
  struct Case {
    const char* What;
    TControlValues Controls;
    std::optional<std::size_t> At255;  // the bound for the longest name Linux takes
    std::vector<std::string> Names;    // names that make the step grow them most
    std::string ShortName;
  };
  const std::string as(200, 'a');
  const std::vector<Case> cases{
      {"insert", InsertText("Rome "), 260, {"x.jpg", as + ".jpg", "noextension"}, {}},
      {"insert with fields", WithFields(InsertText("{taken} ")), std::nullopt, {}, {}},
      {"replace by a longer text", SearchReplace("IMG_", "Rome 2025 - "), 271, {"IMG_1.IMG_", "IMG_IMG_.jpg"}, {}},
      {"replace every match", Recursive(SearchReplace("a", "bbb")), 767, {as + ".aaa", "a", "aaa.a"}, {}},
      {"wildcard search, every match",
       Recursive(SearchReplace("a?", "xxxxx")),
       255 + 3 * 128,
       {as, "abab.abab",
        "a\xC3\xA9"
        "a\xC3\xA9"},
       {}},
      {"replace by a shorter text", Recursive(SearchReplace("IMG_", "I")), 255, {"IMG_IMG_.IMG_"}, {}},
      {"a replacement that copies the match", SearchReplace("a*", "**"), std::nullopt, {}, {}},
      {"a pattern over the extension", SearchReplace("*.jpeg", "*.jpg"), std::nullopt, {}, {}},
      {"regular expression", Regex(SearchReplace("(a)", "$1$1")), std::nullopt, {}, {}},
      {"numbers alone", Numbers("000000000000007"), 255 + 15, {"x.jpg", as + ".jpg"}, {}},
      {"numbers after a base name",
       Based(Numbers("1"), "Holiday ", TPlacement::ToEnd),
       255 + 8 + 11,
       {"x.jpg", as + ".jpeg"},
       {}},
      {"numbers after the original name",
       Based(Numbers("99"), "Original Name", TPlacement::ToEnd),
       255 + 11,
       {as + ".jpg", "x"},
       {}},
      {"numbers with a base name of fields",
       WithFields(Based(Numbers("1"), "{taken} ", TPlacement::ToEnd)),
       std::nullopt,
       {},
       {}},
      {"remove", RemoveText("a"), 255, {as, "ba.a"}, {}},
      {"change case", CaseChange(0), 255, {"\xC3\xA9t\xC3\xA9.txt", as}, {}},
      {"truncate to the short name", TruncateTo(0), 255, {"x"}, "LONGNA~1.TXT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    const TRenameSettings settings = CaptureSettings(c.Controls);
    EXPECT_EQ(MostNewNameBytes(settings, 255), c.At255);
    for (const std::string& name : c.Names) {
      SCOPED_TRACE(name);
      const std::string made = NewName(settings, name, c.ShortName);
      EXPECT_FALSE(made.empty()) << "the case should make a new name";
      const std::optional<std::size_t> most = MostNewNameBytes(settings, name.size());
      ASSERT_TRUE(most.has_value());
      EXPECT_LE(made.size(), *most);
    }
  }
}

}  // namespace
}  // namespace vt::test
