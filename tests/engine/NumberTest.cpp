#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Simulate.h"
#include "engine/Number.h"

namespace vt {
namespace {

TControlValues Numbering(const std::string& startText, int increment = 1) {
  TControlValues controls;
  controls.LstBoxActions = ControlIndex(TOperation::Number);
  controls.EdStartNumber = startText;
  controls.UpDownStartNumber = std::stoi(startText);
  controls.UpDownIncrement = increment;
  return controls;
}

TControlValues WithBase(TControlValues controls, const std::string& base, int insertTo, int position = 1) {
  controls.ChkBxUseBaseFilename = true;
  controls.ComboBaseFileName = base;
  controls.ComboNumberInsertTo = insertTo;
  controls.UpDownNumberPos = position;
  return controls;
}

TControlValues Backwards(TControlValues controls) {
  controls.ChkBxDecrement = true;
  return controls;
}

// Runs the files through one simulated pass, in order.
std::vector<std::string> Pass(const TControlValues& controls, const std::vector<std::string>& files) {
  TRenameStep step(CaptureSettings(controls), TPassMode::Simulate);
  std::vector<std::string> results;
  for (const auto& file : files) {
    step.ProcessFile("/nonexistent/", test::FileEntry(file));
    results.push_back(test::Outcome(step));
  }
  return results;
}

const std::vector<std::string> kFiles = {"a.jpg", "b.jpg", "c.jpg"};

TEST(Number, ListedResults) {
  struct Case {
    TControlValues controls;
    std::vector<std::string> results;
  } const cases[] = {
      {Numbering("0"), {"0.jpg", "1.jpg", "2.jpg"}},
      {Numbering("007"), {"007.jpg", "008.jpg", "009.jpg"}},
      {Numbering("01", 5), {"01.jpg", "06.jpg", "11.jpg"}},
      {WithBase(Numbering("001"), "Trip_", 0), {"Trip_001.jpg", "Trip_002.jpg", "Trip_003.jpg"}},
      {WithBase(Numbering("1"), "Original Name ", 1), {"1a.jpg", "2b.jpg", "3c.jpg"}},
      {Backwards(WithBase(Numbering("10", 5), "original name", 0)), {"a10.jpg", "b5.jpg", "c0.jpg"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Pass(c.controls, kFiles), c.results);
  EXPECT_EQ(Pass(WithBase(Numbering("1"), "ORIGINAL NAME", 3, 2), {"photo.jpg"}),
            std::vector<std::string>{"pho1to.jpg"});
}

TEST(Number, CounterMovesForEveryNumberedEntry) {
  // "No change" and "Error" take their number all the same.
  EXPECT_EQ(Pass(Numbering("0"), {"0.jpg", "x.jpg", "y.jpg"}),
            (std::vector<std::string>{"No change", "1.jpg", "2.jpg"}));
  // A base name that would move the file out of its folder is refused, and
  // the number is used up.
  TRenameStep refused(CaptureSettings(WithBase(Numbering("1"), "../x", 0)), TPassMode::Simulate);
  for (const char* file : {"a.jpg", "b.jpg"}) {
    EXPECT_TRUE(refused.ProcessFile("/x/", test::FileEntry(file)));
    EXPECT_EQ(refused.Status(), TRenameStatus::rsError);
  }
  EXPECT_EQ(refused.NewName(), "../x2.jpg");
  EXPECT_EQ(refused.Settings().Counter, 3);
  // Skipped entries take none.
  TRenameStep step(CaptureSettings(WithBase(Numbering("5"), "", 0)), TPassMode::Simulate);
  EXPECT_FALSE(step.ProcessFile("/x/", test::FileEntry("a.jpg")));
  EXPECT_EQ(step.Status(), TRenameStatus::rsNoParameters);
  EXPECT_EQ(step.Settings().Counter, 5);
  // Folders and dot entries never reach the counter.
  TRenameStep dirs(CaptureSettings(Numbering("0")), TPassMode::Simulate);
  TFindData folder = test::FileEntry("sub");
  folder.dwFileAttributes = FileAttr::Directory;
  EXPECT_FALSE(dirs.ProcessFile("/x/", folder));
  EXPECT_FALSE(dirs.ProcessFile("/x/", test::FileEntry("..")));
  dirs.ProcessFile("/x/", test::FileEntry("q.txt"));
  EXPECT_EQ(dirs.NewName(), "0.txt");
}

TEST(Number, BackwardsBelowZero) {
  EXPECT_EQ(Pass(Backwards(Numbering("1")), kFiles), (std::vector<std::string>{"1.jpg", "0.jpg", "-1.jpg"}));
  EXPECT_EQ(Pass(Backwards(Numbering("001")), kFiles), (std::vector<std::string>{"001.jpg", "000.jpg", "-01.jpg"}));
}

TEST(Number, Placement) {
  const std::vector<std::string> one = {"photo.jpg"};
  struct Case {
    int insertTo, position;
    const char* result;
  } const cases[] = {
      {0, 1, "Trip7.jpg"}, {1, 1, "7Trip.jpg"}, {2, 3, "Tr7ip.jpg"},  {2, 9, "Trip7.jpg"},
      {3, 1, "Tri7p.jpg"}, {3, 9, "7Trip.jpg"}, {200, 1, "Trip.jpg"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Pass(WithBase(Numbering("7"), "Trip", c.insertTo, c.position), one), std::vector<std::string>{c.result})
        << c.insertTo << "/" << c.position;
  }
  // The file's own name part counts characters.
  EXPECT_EQ(Pass(WithBase(Numbering("1"), "original name  ", 2, 2), {"\xC3\xA9t\xC3\xA9.txt"}),
            std::vector<std::string>{"\xC3\xA9"
                                     "1t\xC3\xA9.txt"});
}

TEST(NumberText, PadsWithZeros) {
  struct Case {
    int counter, width;
    bool zeroPad;
    const char* text;
  } const cases[] = {
      {0, 1, true, "0"},
      {7, 3, true, "007"},
      {7, 3, false, "7"},
      {1234, 2, true, "1234"},
      {-1, 3, true, "-01"},
      {-1, 2, true, "-1"},
      {-15, 4, true, "-015"},
      {-1, 3, false, "-1"},
      {2147483647, 1, false, "2147483647"},
      {-2147483647 - 1, 1, false, "-2147483648"},
  };
  for (const auto& c : cases) EXPECT_EQ(NumberText(c.counter, c.width, c.zeroPad), c.text);
}

TEST(IsOriginalName, IgnoresCaseAndTrailingBlanks) {
  EXPECT_TRUE(IsOriginalName("Original Name "));
  EXPECT_TRUE(IsOriginalName("original name"));
  EXPECT_TRUE(IsOriginalName("ORIGINAL NAME   "));
  EXPECT_FALSE(IsOriginalName(" Original Name"));
  EXPECT_FALSE(IsOriginalName("Original  Name"));
  EXPECT_FALSE(IsOriginalName("Original"));
}

}  // namespace
}  // namespace vt
