#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <vector>

#include "passes/RenameWayChoice.h"

namespace vt {
namespace {

using std::chrono::milliseconds;
constexpr TRenameWay kOne = TRenameWay::OneByOne;
constexpr TRenameWay kSide = TRenameWay::SideBySide;
constexpr std::size_t kTrial = TRenameWayChoice::kTrialRenames;

// A block: the plan asked for, then what its renames took each way.
struct TBlock {
  TRenameWay Way;
  std::size_t Trial;
  std::size_t OneByOneRenames;
  int OneByOneMs;
  std::size_t SideBySideRenames;
  int SideBySideMs;
};

void RunBlocks(TRenameWayChoice& choice, const std::vector<TBlock>& blocks) {
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    SCOPED_TRACE(i);
    const TBlock& block = blocks[i];
    const TRenameWayChoice::TPlan plan = choice.Next();
    ASSERT_EQ(plan.Way, block.Way);
    ASSERT_EQ(plan.Trial, block.Trial);
    if (block.OneByOneRenames > 0) choice.Took(kOne, block.OneByOneRenames, milliseconds(block.OneByOneMs));
    if (block.SideBySideRenames > 0) choice.Took(kSide, block.SideBySideRenames, milliseconds(block.SideBySideMs));
  }
}

// Blocks of the way taken until the way not taken is tried again.
std::vector<TBlock> Settled(TRenameWay way, int msPer256) {
  return std::vector<TBlock>(TRenameWayChoice::kBlocksBetweenTries - 1, way == kOne
                                                                            ? TBlock{kOne, 0, 256, msPer256, 0, 0}
                                                                            : TBlock{kSide, 0, 0, 0, 256, msPer256});
}

TEST(RenameWayChoiceTest, BothWaysAreTimedAndTheFasterIsTakenUntilTheOtherIsTriedAgain) {
  struct Case {
    const char* Name;
    std::vector<std::vector<TBlock>> Parts;
  };
  const std::vector<Case> cases = {
      {"a long round trip: side by side stays",
       {{{kSide, 0, 0, 0, 256, 100}, {kSide, kTrial, kTrial, 100, 224, 90}},
        Settled(kSide, 100),
        {{kSide, kTrial, kTrial, 100, 224, 90}, {kSide, 0, 0, 0, 256, 100}}}},
      {"a server that serves one call at a time: one by one is taken, side by side tried again",
       {{{kSide, 0, 0, 0, 256, 400}, {kSide, kTrial, kTrial, 40, 224, 350}},
        Settled(kOne, 320),
        {{kSide, 0, 0, 0, 256, 400}, {kOne, 0, 256, 320, 0, 0}}}},
      {"the load changes: a try of the way not taken turns the choice",
       {{{kSide, 0, 0, 0, 256, 400}, {kSide, kTrial, kTrial, 40, 224, 350}},
        Settled(kOne, 320),
        {{kSide, 0, 0, 0, 256, 100}, {kSide, 0, 0, 0, 256, 100}}}},
      {"too few renames time nothing: side by side until a block is timed",
       {{{kSide, 0, 0, 0, 4, 1},
         {kSide, 0, 0, 0, 256, 100},
         {kSide, kTrial, 3, 1, 224, 90},
         {kSide, kTrial, 0, 0, 0, 0}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TRenameWayChoice choice;
    for (const std::vector<TBlock>& part : c.Parts) RunBlocks(choice, part);
  }
}

}  // namespace
}  // namespace vt
