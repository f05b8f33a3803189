#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "passes/RenameWayChoice.h"

namespace vt {
namespace {

using std::chrono::microseconds;
using TPlan = TRenameWayChoice::TPlan;
constexpr TRenameWay kOne = TRenameWay::OneByOne;
constexpr TRenameWay kSide = TRenameWay::SideBySide;
constexpr std::size_t kBlock = 256;

// A block as the pass runs it: the plan asked for, then each part timed.
// Microseconds per rename each way; 0 leaves that way untimed (a stop).
struct TBlock {
  int OneEach = 0;
  int SideEach = 0;
  std::size_t Renames = kBlock;
};

TPlan RunBlock(TRenameWayChoice& choice, const TBlock& block) {
  const TPlan plan = choice.Next(block.Renames);
  const auto took = [&](TRenameWay way, std::size_t renames) {
    const int each = way == kOne ? block.OneEach : block.SideEach;
    if (each > 0) choice.Took(way, renames, microseconds(each) * static_cast<int>(renames));
  };
  // A try times its two parts; the rest of its block goes untimed.
  if (plan.Trial > 0) {
    took(plan.TrialWay, plan.Trial);
    took(Other(plan.TrialWay), plan.Trial);
  } else {
    took(plan.Way, block.Renames);
  }
  return plan;
}

TEST(RenameWayChoiceTest, TheWayTakenFollowsTheMedianOfTheLastTries) {
  const TBlock sideWins{1000, 300}, oneWins{1300, 1600}, oneSlowedOnce{2500, 1600};
  struct Case {
    std::string Name;
    std::vector<TBlock> Tries;
    TRenameWay Expected;
  };
  const std::vector<Case> cases = {
      {"a long round trip: side by side", {sideWins, sideWins, sideWins}, kSide},
      {"a server that serves one call at a time: one by one", {oneWins, oneWins, oneWins}, kOne},
      {"a few slow calls in one try do not sway it", {oneWins, oneSlowedOnce, oneWins}, kOne},
      {"the first try alone decides until the next", {oneWins}, kOne},
      {"two that differ: their mean", {oneWins, TBlock{1300, 1200}}, kOne},
      {"nothing timed yet: side by side", {}, kSide},
      {"a try cut short counts for nothing", {TBlock{1300, 0}, TBlock{0, 1600}}, kSide},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    // A pass's tries come first, one a block.
    ASSERT_LE(c.Tries.size(), TRenameWayChoice::kTries);
    std::vector<TBlock> blocks = c.Tries;
    // Blocks too small to try while the first tries are due: they change nothing.
    if (c.Tries.size() < TRenameWayChoice::kTries) blocks.push_back(TBlock{1, 1, 10});
    TRenameWayChoice choice;
    for (const TBlock& block : blocks) RunBlock(choice, block);
    for (std::size_t i = c.Tries.size(); i < TRenameWayChoice::kTries; ++i) {
      // Tries still due time a few renames each way, not the whole block.
      const TPlan plan = RunBlock(choice, TBlock{0, 0});
      EXPECT_EQ(plan.Trial, TRenameWayChoice::kTryRenames);
    }
    const TPlan plan = choice.Next(kBlock);
    EXPECT_EQ(plan, (TPlan{c.Expected, 0, c.Expected}));
  }
}

TEST(RenameWayChoiceTest, TriesComeFirstThenEveryFewBlocksWithEachWayFirstInTurn) {
  TRenameWayChoice choice;
  std::vector<TPlan> plans;
  const TBlock oneWins{1300, 1600}, sideWins{1000, 300};
  for (std::size_t i = 0; i < TRenameWayChoice::kTries; ++i) plans.push_back(RunBlock(choice, oneWins));
  for (std::size_t i = 1; i < TRenameWayChoice::kBlocksBetweenTries; ++i) plans.push_back(RunBlock(choice, oneWins));
  // The load changes: two tries that side by side wins turn the median.
  plans.push_back(RunBlock(choice, sideWins));
  for (std::size_t i = 1; i < TRenameWayChoice::kBlocksBetweenTries; ++i) plans.push_back(RunBlock(choice, oneWins));
  plans.push_back(RunBlock(choice, sideWins));
  plans.push_back(RunBlock(choice, sideWins));

  // A try's rest goes the way found faster so far: side by side before anything is timed.
  constexpr std::size_t kTry = TRenameWayChoice::kTryRenames;
  const TPlan one{kOne, 0, kOne}, side{kSide, 0, kSide};
  std::vector<TPlan> expected = {{kSide, kTry, kOne}, {kOne, kTry, kSide}, {kOne, kTry, kOne}};
  expected.insert(expected.end(), TRenameWayChoice::kBlocksBetweenTries - 1, one);
  expected.push_back({kOne, kTry, kSide});
  expected.insert(expected.end(), TRenameWayChoice::kBlocksBetweenTries - 1, one);
  expected.push_back({kOne, kTry, kOne});
  expected.push_back(side);
  ASSERT_EQ(plans.size(), expected.size());
  for (std::size_t i = 0; i < plans.size(); ++i) EXPECT_EQ(plans[i], expected[i]) << "block " << i;
}

}  // namespace
}  // namespace vt
