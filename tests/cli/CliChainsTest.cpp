// Renames that make room for each other (--chains) through the built program:
// shapes of chains and rings renamed, simulated alike, killed after every
// rename of their plan and brought back by recover --last.
#include <gtest/gtest.h>
#include <signal.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "cli/CliTestSupport.h"
#include "support/TempFolder.h"

namespace vt::test {
namespace {

// Files n.txt numbered by Number in the order of their sizes: the file at
// Order[i] becomes (Start + i).txt.
struct TShape {
  const char* Name;
  std::vector<int> Order;
  int Start = 1;
  std::size_t Steps = 0;  // renames the plan does
};

std::string FileName(int number) { return std::to_string(number) + ".txt"; }

// Its own name, then as many bytes as its place in the order: sizes grow along it.
std::string Content(int number, std::size_t place) {
  std::string content = FileName(number);
  content.resize(12 + place, 'x');
  return content;
}

std::map<std::string, std::string> MakeShape(const TTempFolder& dir, const TShape& shape) {
  std::map<std::string, std::string> files;
  for (std::size_t place = 0; place < shape.Order.size(); ++place) {
    const std::string content = Content(shape.Order[place], place);
    dir.WriteFile(FileName(shape.Order[place]), content);
    files[FileName(shape.Order[place])] = content;
  }
  return files;
}

std::map<std::string, std::string> Renamed(const TShape& shape) {
  std::map<std::string, std::string> files;
  for (std::size_t place = 0; place < shape.Order.size(); ++place)
    files[FileName(shape.Start + int(place))] = Content(shape.Order[place], place);
  return files;
}

std::map<std::string, std::string> Files(const TTempFolder& dir) {
  std::map<std::string, std::string> files;
  for (const std::string& name : dir.Names()) files[name] = dir.ReadFile(name);
  return files;
}

std::vector<std::string> PassArgs(const TTempFolder& dir, const TShape& shape, bool rename, bool chains) {
  std::vector<std::string> args{"-f", "tsv", "--order", "size"};
  if (rename) args.push_back("-x");
  if (chains) args.push_back("--chains");
  args.insert(args.end(), {dir.Folder(), "number", "--start", std::to_string(shape.Start)});
  return args;
}

// File and New Name of each row.
std::vector<std::string> Moves(const std::string& tsv) {
  std::vector<std::string> moves;
  for (const std::string& line : Lines(tsv)) {
    const std::size_t second = line.find('\t', line.find('\t') + 1);
    moves.push_back(line.substr(0, second));
  }
  return moves;
}

std::vector<int> Range(int from, int to) {
  std::vector<int> numbers;
  for (int i = from; i <= to; ++i) numbers.push_back(i);
  return numbers;
}

// Swaps of neighbours: 2 1 4 3 ...
std::vector<int> Swaps(int pairs) {
  std::vector<int> numbers;
  for (int i = 1; i <= pairs; ++i) numbers.insert(numbers.end(), {2 * i, 2 * i - 1});
  return numbers;
}

const std::vector<TShape>& Shapes() {
  static const std::vector<TShape> shapes{
      {"chain: 1..4 shifted to start at 2", {1, 2, 3, 4}, 2, 4},
      {"shift by one over a full range: a ring of four", {2, 3, 4, 1}, 1, 5},
      {"swap", {2, 1}, 1, 3},
      {"ring of three", {3, 1, 2}, 1, 4},
      {"a swap beside a chain", {2, 1, 5, 3}, 1, 5},
  };
  return shapes;
}

TEST(CliChains, ShapesAreRenamedAsSimulatedAndRecovered) {
  std::vector<TShape> shapes = Shapes();
  shapes.push_back({"1,000 files numbered from 2", Range(1, 1000), 2, 1000});
  shapes.push_back({"500 swaps", Swaps(500), 1, 1500});
  for (const TShape& shape : shapes) {
    SCOPED_TRACE(shape.Name);
    TTempFolder dir(FastTempBase());
    const std::map<std::string, std::string> before = MakeShape(dir, shape);
    const TRun simulated = RunProgram(PassArgs(dir, shape, false, true), dir.Path());
    EXPECT_EQ(simulated.Exit, 0) << simulated.Err;
    EXPECT_EQ(simulated.Err.find("warning"), std::string::npos) << simulated.Err;
    const TRun renamed = RunProgram(PassArgs(dir, shape, true, true), dir.Path());
    ASSERT_EQ(renamed.Exit, 0) << renamed.Err;
    EXPECT_EQ(Moves(renamed.Out), Moves(simulated.Out));
    EXPECT_EQ(Lines(renamed.Out).size(), shape.Steps);
    for (const std::string& line : Lines(renamed.Out)) EXPECT_TRUE(line.ends_with("\tOk")) << line;
    EXPECT_EQ(Files(dir), Renamed(shape));

    const TRun recovered = RunProgram({"recover", "--last"}, dir.Path());
    EXPECT_EQ(recovered.Exit, 0) << recovered.Err;
    EXPECT_EQ(Files(dir), before);
  }
}

TEST(CliChains, AKillAfterAnyRenameOfThePlanIsRecovered) {
  for (const TShape& shape : Shapes()) {
    for (std::size_t kill = 1; kill <= shape.Steps; ++kill) {
      SCOPED_TRACE(std::string(shape.Name) + ", killed after rename " + std::to_string(kill));
      TTempFolder dir;
      TTempFolder state;
      const std::vector<std::string> env{"XDG_STATE_HOME=" + state.Path().string()};
      const std::map<std::string, std::string> before = MakeShape(dir, shape);
      std::vector<std::string> killed = env;
      killed.push_back("VELTRANE_TEST_KILL_RENAME=" + std::to_string(kill));
      const TRun pass = RunProgram(PassArgs(dir, shape, true, true), dir.Path(), killed);
      ASSERT_EQ(pass.Exit, 128 + SIGKILL) << pass.Err;
      const TRun recovered = RunProgram({"recover", "--last"}, dir.Path(), env);
      EXPECT_EQ(recovered.Exit, 0) << recovered.Err << recovered.Out;
      EXPECT_EQ(Files(dir), before) << recovered.Out;
      EXPECT_EQ(RunProgram({"recover", "--last"}, dir.Path(), env).Exit, 2);
    }
  }
}

TEST(CliChains, WithoutTheOptionASimulationSaysWhichRenamesWait) {
  struct Case {
    TShape Shape;
    const char* Said;  // nullptr: nothing said of waiting
  };
  const std::vector<Case> cases{
      {{"chain", {1, 2, 3, 4}, 2, 0}, "warning: 3 renames wait for each other; with --chains"},
      {{"swap", {2, 1}, 1, 0}, "warning: 2 renames wait for each other; with --chains"},
      {{"nothing waits", {1, 2, 3}, 5, 0}, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Shape.Name);
    TTempFolder dir;
    const std::map<std::string, std::string> before = MakeShape(dir, c.Shape);
    const TRun simulated = RunProgram(PassArgs(dir, c.Shape, false, false), dir.Path());
    EXPECT_EQ(simulated.Exit, 0) << simulated.Err;
    if (c.Said == nullptr)
      EXPECT_EQ(simulated.Err.find("wait"), std::string::npos) << simulated.Err;
    else
      EXPECT_NE(simulated.Err.find(c.Said), std::string::npos) << simulated.Err;
    EXPECT_EQ(Files(dir), before);
  }
}

// With --chains a simulation still warns of what would fail: a name held by a
// file the pass does not rename, and every rename waiting for that one.
TEST(CliChains, ASimulationWarnsOfWhatStillFails) {
  TTempFolder dir;
  const TShape shape{"chain", {1, 2, 3}, 2, 0};
  MakeShape(dir, shape);
  const TRun free = RunProgram(PassArgs(dir, shape, false, true), dir.Path());
  EXPECT_EQ(free.Err.find("warning"), std::string::npos) << free.Err;

  TTempFolder blocked;
  MakeShape(blocked, shape);
  const TRun held = RunProgram(
      {"-f", "tsv", "-m", "1.txt;2.txt", "--chains", blocked.Folder(), "number", "--start", "2"}, blocked.Path());
  // 2.txt becomes 3.txt, which a file the masks leave out holds; 1.txt waits for 2.txt in vain.
  EXPECT_NE(held.Err.find("'3.txt' in " + blocked.Folder() + " exists already"), std::string::npos) << held.Err;
  EXPECT_NE(held.Err.find("'2.txt' in " + blocked.Folder() + " exists already"), std::string::npos) << held.Err;
  const TRun real = RunProgram(
      {"-f", "tsv", "-x", "-m", "1.txt;2.txt", "--chains", blocked.Folder(), "number", "--start", "2"}, blocked.Path());
  EXPECT_EQ(real.Exit, 1) << real.Err;
  for (const std::string& line : Lines(real.Out)) EXPECT_TRUE(line.ends_with("\tError")) << line;
}

}  // namespace
}  // namespace vt::test
