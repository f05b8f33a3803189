// Renames that make room for each other in folders where few or none wait: a
// folder's renames are done as they come until one may have to wait, and the
// rest of the folder is planned then. The rows must be those of the whole
// folder planned at once.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "passes/ChainPlan.h"
#include "passes/PassTestSupport.h"

namespace vt::test {
namespace {

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
  std::vector<TPlannedEntry> entries;
  for (const TResultRow& row : plain)
    entries.push_back({"/f/", row.OldName, row.NewName, row.KnownStatus() == TRenameStatus::rsCanBeRenamed});
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

TEST(ChainStream, RowsAreThoseOfTheWholeFolderPlannedAndThePassDoesWhatTheSimulationSays) {
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
