// Renames that make room for each other in folders where few or none wait: a
// folder's renames are done as they come until one may have to wait, and the
// rest of the folder is planned then. The steps and rows must be those of the
// whole folder planned at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "passes/ChainPlan.h"
#include "passes/ChainWatch.h"
#include "passes/PassTestSupport.h"

namespace vt::test {
namespace {

struct TMove {
  std::string Old, New;  // New empty: a row that renames nothing
};

std::string StepText(const TMove& move, TChainStepKind kind) {
  switch (kind) {
    case TChainStepKind::Row: return move.Old;
    case TChainStepKind::Move: return move.Old + ">" + move.New;
    case TChainStepKind::ToTemp: return move.Old + ">~";
    case TChainStepKind::FromTemp: return "~>" + move.New;
  }
  return {};
}

std::vector<std::string> PlannedWhole(const std::vector<TMove>& moves) {
  std::vector<TPlannedEntry> entries;
  for (const TMove& move : moves) entries.push_back({"/f/", move.Old, move.New, !move.New.empty()});
  std::vector<std::string> steps;
  for (const TChainStep& step : PlanChains(entries)) steps.push_back(StepText(moves[step.Entry], step.Kind));
  return steps;
}

// As the pass goes: blocks renamed as they come while the watch finds no
// rename that may wait; from the block where one may, the rest planned, after
// the renames done whose old names fold alike with another name.
std::vector<std::string> Streamed(const std::vector<TMove>& moves, std::size_t block) {
  TChainWatch watch;
  watch.Reset(moves.size());
  for (const TMove& move : moves) watch.AddName(move.Old);
  std::vector<std::string> steps;
  std::vector<TMove> movedAlike;
  std::size_t from = 0;
  for (; from < moves.size(); from += block) {
    const std::size_t end = std::min(from + block, moves.size());
    bool waits = false;
    std::vector<TMove> alike;
    for (std::size_t i = from; i < end && !waits; ++i) {
      const bool shared = watch.Draw(moves[i].Old);
      if (moves[i].New.empty()) continue;
      waits = watch.MayWait(moves[i].New);
      if (shared) alike.push_back(moves[i]);
    }
    if (waits) break;
    for (std::size_t i = from; i < end; ++i)
      steps.push_back(StepText(moves[i], moves[i].New.empty() ? TChainStepKind::Row : TChainStepKind::Move));
    movedAlike.insert(movedAlike.end(), alike.begin(), alike.end());
  }
  if (from >= moves.size()) return steps;
  std::vector<TPlannedEntry> entries;
  for (const TMove& move : movedAlike) entries.push_back({"/f/", move.Old, {}, true, true});
  for (std::size_t i = from; i < moves.size(); ++i)
    entries.push_back({"/f/", moves[i].Old, moves[i].New, !moves[i].New.empty()});
  for (const TChainStep& step : PlanChains(entries)) {
    EXPECT_GE(step.Entry, movedAlike.size()) << "a step for a rename done already";
    steps.push_back(StepText(moves[from + step.Entry - movedAlike.size()], step.Kind));
  }
  return steps;
}

TEST(ChainStream, RenamingAsTheyComeUntilOneMayWaitGivesTheWholePlan) {
  struct Case {
    const char* Shape;
    std::vector<TMove> Moves;
    bool Planned;  // some block had to be planned
  };
  const std::vector<Case> cases{
      {"no chains", {{"a", "x"}, {"b", ""}, {"c", "y"}, {"d", "z"}, {"e", "w"}}, false},
      {"each takes a name left before it", {{"a", "x"}, {"b", "a"}, {"c", "b"}, {"d", "c"}, {"e", "d"}}, false},
      {"a chain in the last block", {{"a", "x"}, {"b", "y"}, {"c", "z"}, {"d", "e"}, {"e", "f"}}, true},
      {"a swap in the middle", {{"a", "x"}, {"b", "y"}, {"c", "d"}, {"d", "c"}, {"e", "w"}}, true},
      {"a change of case only", {{"a", "A"}, {"b", "B"}, {"c", "C"}, {"d", "D"}, {"e", "E"}}, false},
      {"names alike but for case, the exact one renamed before",
       {{"n", "x"}, {"b", "y"}, {"c", "n"}, {"N", "z"}, {"e", "w"}},
       true},
      {"names alike but for case, the exact one still to come",
       {{"N", "x"}, {"b", "y"}, {"c", "n"}, {"n", "z"}, {"e", "w"}},
       true},
      {"a ring whose names differ by case", {{"a", "b"}, {"x", "y"}, {"p", "q"}, {"B", "A"}, {"e", "w"}}, true},
      {"rows between renames", {{"a", ""}, {"b", "c"}, {"c", ""}, {"d", "e"}, {"e", "d"}}, true},
  };
  for (const Case& c : cases) {
    for (const std::size_t block : {1U, 2U, 3U, 8U}) {
      SCOPED_TRACE(std::string(c.Shape) + ", blocks of " + std::to_string(block));
      EXPECT_EQ(Streamed(c.Moves, block), PlannedWhole(c.Moves));
    }
  }
}

// Shapes of a few names drawn again and again: chains, rings, names alike but
// for case and rows in any mix, against the whole plan.
TEST(ChainStream, ManyMixedShapesGiveTheWholePlan) {
  const std::vector<std::string> names{"a", "A", "b", "B", "c", "d", "e", "f", "g", "h"};
  std::uint64_t seed = 12345;
  const auto next = [&seed](std::size_t below) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::size_t>((seed >> 33) % below);
  };
  for (int shape = 0; shape < 2000; ++shape) {
    std::vector<std::string> old = names;
    for (std::size_t i = old.size(); i > 1; --i) std::swap(old[i - 1], old[next(i)]);
    old.resize(3 + next(old.size() - 3));
    std::vector<TMove> moves;
    std::set<std::string> taken;
    for (const std::string& name : old) {
      std::string target = names[next(names.size())];
      if (target == name || next(5) == 0 || !taken.insert(target).second) target.clear();
      moves.push_back({name, target});
    }
    const std::size_t block = 1 + next(4);
    SCOPED_TRACE("shape " + std::to_string(shape) + ", blocks of " + std::to_string(block));
    ASSERT_EQ(Streamed(moves, block), PlannedWhole(moves));
  }
}

// Through the pass: Number in the order of sizes gives the file at place p
// the name "p.txt", so a file's old name says which place's rename takes it.
// The folder holds more entries than a block, so a plan can start after
// blocks renamed as they came.
constexpr int kFiles = 600;

// names: the old name by place, "f<place>.txt" where none is given.
void MakeFolder(const TTempTree& tree, const std::map<int, std::string>& names) {
  for (int place = 0; place < kFiles; ++place) {
    const auto named = names.find(place);
    const std::string name = named != names.end() ? named->second : "f" + std::to_string(place) + ".txt";
    tree.File(name, std::string(static_cast<std::size_t>(place) + 1, 'x'));
  }
}

// drawnAtFirstRow, when given: the entries drawn from the listing when the first row came.
std::vector<TResultRow> RunNumbers(const TTempTree& tree, bool simulate, bool chains,
                                   std::atomic<std::size_t>* drawnAtFirstRow = nullptr) {
  TTestOwner owner;
  owner.Simulate = simulate;
  TSearchPassOptions options;
  options.Folder = tree.Root();
  options.Order = TFileOrder::Size;
  options.Chains = chains;
  std::atomic<std::size_t> drawn{0};
  if (drawnAtFirstRow != nullptr) {
    options.OnCollected = [&drawn](TSearchThread&, const TFindData&) { ++drawn; };
    options.OnRecorded = [&drawn, drawnAtFirstRow](TSearchThread&, const TPassRow&) {
      if (*drawnAtFirstRow == 0) *drawnAtFirstRow = drawn.load();
    };
  }
  RunSearch(owner, options, NumberDefaults());
  const TResultRows& rows = owner.Table.Rows();
  return {rows.begin(), rows.end()};
}

// A row as "old>new", a ring's temporary name as "~".
std::vector<std::string> Moves(const std::vector<TResultRow>& rows) {
  const auto name = [](const std::string& n) { return IsRingTempName(n) ? std::string("~") : n; };
  std::vector<std::string> moves;
  for (const TResultRow& row : rows) moves.push_back(name(row.OldName) + ">" + name(row.NewName));
  return moves;
}

// The rows of the whole folder planned at once, from the rows a simulation
// without chains judges.
std::vector<std::string> WholePlanRows(const std::vector<TResultRow>& plain) {
  std::vector<TMove> moves;
  for (const TResultRow& row : plain)
    moves.push_back({row.OldName, row.KnownStatus() == TRenameStatus::rsCanBeRenamed ? row.NewName : ""});
  std::vector<TPlannedEntry> entries;
  for (const TMove& move : moves) entries.push_back({"/f/", move.Old, move.New, !move.New.empty()});
  std::vector<std::string> rows;
  for (const TChainStep& step : PlanChains(entries)) {
    const TResultRow& row = plain[step.Entry];
    switch (step.Kind) {
      case TChainStepKind::Row:
      case TChainStepKind::Move: rows.push_back(row.OldName + ">" + row.NewName); break;
      case TChainStepKind::ToTemp: rows.push_back(row.OldName + ">~"); break;
      case TChainStepKind::FromTemp: rows.push_back("~>" + row.NewName); break;
    }
  }
  return rows;
}

TEST(ChainStreamPass, RowsAreThoseOfTheWholeFolderPlannedAndThePassDoesWhatTheSimulationSays) {
  struct Case {
    const char* Shape;
    std::map<int, std::string> Names;
    bool Streams;  // the first rows come before the folder is drawn whole
  };
  const std::vector<Case> cases{
      {"no chains", {}, true},
      {"names taken only once left", {{10, "300.txt"}, {20, "599.txt"}}, true},
      {"a chain in the third block", {{540, "530.txt"}, {545, "540.txt"}}, true},
      {"a swap at the end", {{598, "599.txt"}, {599, "598.txt"}}, true},
      {"a chain from the first block into the last", {{590, "5.txt"}, {595, "590.txt"}}, false},
      {"names alike but for case, the exact one left before", {{5, "300.txt"}, {400, "300.TXT"}}, true},
      {"names alike but for case, the exact one still to come", {{5, "300.TXT"}, {400, "300.txt"}}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Shape);
    const TTempTree tree(FastTempBase());
    MakeFolder(tree, c.Names);
    const std::vector<TResultRow> plain = RunNumbers(tree, true, false);
    ASSERT_EQ(plain.size(), std::size_t{kFiles});
    const std::vector<TResultRow> simulated = RunNumbers(tree, true, true);
    EXPECT_EQ(Moves(simulated), WholePlanRows(plain));
    std::atomic<std::size_t> drawnAtFirstRow{0};
    const std::vector<TResultRow> renamed = RunNumbers(tree, false, true, &drawnAtFirstRow);
    EXPECT_EQ(drawnAtFirstRow < std::size_t{kFiles}, c.Streams) << drawnAtFirstRow;
    ASSERT_EQ(renamed.size(), simulated.size());
    for (std::size_t i = 0; i < renamed.size(); ++i) {
      EXPECT_EQ(renamed[i].OldName, simulated[i].OldName) << i;
      EXPECT_EQ(renamed[i].NewName, simulated[i].NewName) << i;
      EXPECT_EQ(renamed[i].KnownStatus(), simulated[i].KnownStatus() == TRenameStatus::rsCanBeRenamed
                                              ? std::optional(TRenameStatus::rsOk)
                                              : simulated[i].KnownStatus())
          << renamed[i].OldName;
    }
    // Every file under its new name, by its size: none lost, no temporary name left.
    const std::vector<std::string> names = tree.Names();
    EXPECT_EQ(names.size(), std::size_t{kFiles});
    for (const std::string& name : names)
      EXPECT_EQ(name.substr(0, name.find('.')), std::to_string(tree.Content(name).size() - 1)) << name;
  }
}

}  // namespace
}  // namespace vt::test
