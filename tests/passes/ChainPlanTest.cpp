// The order of the renames of a folder when they make room for each other.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "passes/ChainPlan.h"

namespace vt::test {
namespace {

struct TMove {
  std::string Old, New;  // New empty: a row that renames nothing
};

// Each step as "old>new", a ring's temporary name as "~".
std::vector<std::string> Planned(const std::vector<TMove>& moves) {
  std::vector<TPlannedEntry> entries;
  for (const TMove& move : moves) entries.push_back({"/f/", move.Old, move.New, !move.New.empty()});
  std::vector<std::string> steps;
  for (const TChainStep& step : PlanChains(entries)) {
    const TMove& move = moves[step.Entry];
    switch (step.Kind) {
      case TChainStepKind::Row: steps.push_back(move.Old); break;
      case TChainStepKind::Move: steps.push_back(move.Old + ">" + move.New); break;
      case TChainStepKind::ToTemp: steps.push_back(move.Old + ">~"); break;
      case TChainStepKind::FromTemp: steps.push_back("~>" + move.New); break;
    }
  }
  return steps;
}

TEST(ChainPlan, RenamesWaitForTheNamesTheyTakeAndRingsGoThroughATemporaryName) {
  struct Case {
    const char* Shape;
    std::vector<TMove> Moves;
    std::vector<std::string> Steps;
    std::size_t Waiting;  // renames that fail without the plan
  };
  const std::vector<Case> cases{
      {"no chains: the order stays", {{"a", "x"}, {"b", ""}, {"c", "y"}}, {"a>x", "b", "c>y"}, 0},
      {"shift by one: the end first", {{"1", "2"}, {"2", "3"}, {"3", "4"}}, {"3>4", "2>3", "1>2"}, 2},
      {"shift listed from its end: already in order", {{"3", "4"}, {"2", "3"}, {"1", "2"}}, {"3>4", "2>3", "1>2"}, 2},
      {"swap", {{"a", "b"}, {"b", "a"}}, {"a>~", "b>a", "~>b"}, 2},
      {"ring of three", {{"1", "2"}, {"2", "3"}, {"3", "1"}}, {"1>~", "3>1", "2>3", "~>2"}, 3},
      {"a chain that runs into a ring",
       {{"x", "a"}, {"a", "b"}, {"b", "a2"}, {"a2", "a"}},
       {"a>~", "a2>a", "b>a2", "~>b", "x>a"},
       4},
      {"two want the name one leaves", {{"p", "q"}, {"r", "q"}, {"q", "s"}}, {"q>s", "p>q", "r>q"}, 2},
      {"names alike but for case are one name",
       {{"A.txt", "b.txt"}, {"B.TXT", "c.txt"}},
       {"B.TXT>c.txt", "A.txt>b.txt"},
       1},
      {"a change of case waits for no one", {{"a.txt", "A.txt"}, {"b", "a.TXT"}}, {"a.txt>A.txt", "b>a.TXT"}, 1},
      {"a row between keeps its place", {{"1", "2"}, {"k", ""}, {"2", "3"}}, {"2>3", "1>2", "k"}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Shape);
    EXPECT_EQ(Planned(c.Moves), c.Steps);
    std::vector<TPlannedEntry> entries;
    for (const TMove& move : c.Moves) entries.push_back({"/f/", move.Old, move.New, !move.New.empty()});
    EXPECT_EQ(CountWaitingRenames(entries), c.Waiting);
  }
}

TEST(ChainPlan, OnlyNamesOfOneFolderMakeRoom) {
  const std::vector<TPlannedEntry> entries{{"/f/", "a", "b", true}, {"/g/", "b", "c", true}};
  const std::vector<TChainStep> steps = PlanChains(entries);
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].Entry, 0u);
  EXPECT_EQ(CountWaitingRenames(entries), 0u);
}

TEST(ChainPlan, AMillionLongShiftIsPlannedWithoutRecursion) {
  constexpr std::size_t kFiles = 1000000;
  std::vector<std::string> names(kFiles + 1);
  for (std::size_t i = 0; i <= kFiles; ++i) names[i] = std::to_string(i);
  std::vector<TPlannedEntry> entries;
  for (std::size_t i = 0; i < kFiles; ++i) entries.push_back({"/f/", names[i], names[i + 1], true});
  const std::vector<TChainStep> steps = PlanChains(entries);
  ASSERT_EQ(steps.size(), kFiles);
  EXPECT_EQ(steps.front().Entry, kFiles - 1);
  EXPECT_EQ(steps.back().Entry, 0u);
}

TEST(ChainPlan, RingTemporaryNamesAreStableAndRecognised) {
  const std::string name = RingTempName("/f/", "a.jpg", 0);
  EXPECT_EQ(name, RingTempName("/f/", "a.jpg", 0));
  EXPECT_NE(name, RingTempName("/f/", "a.jpg", 1));
  EXPECT_NE(name, RingTempName("/g/", "a.jpg", 0));
  EXPECT_TRUE(IsRingTempName(name));
  for (const char* other : {".vt-0123456789abcdef.tmp", ".vt-ring-0123.tmp", ".vt-ring-0123456789abcdeg.tmp", "a.jpg"})
    EXPECT_FALSE(IsRingTempName(other)) << other;
}

}  // namespace
}  // namespace vt::test
