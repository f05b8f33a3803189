// replace --regex in the built program: real renames that Recover undoes,
// patterns refused before the pass, and a pattern that gives up on one name.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "cli/CommandLine.h"

namespace vt::test {
namespace {

TEST(CliRegex, RenamesWithGroupsAndRecoverUndoesIt) {
  TTempFolder dir;
  TTempFolder elsewhere;
  dir.WriteFile("IMG_0042.JPG", "one");
  dir.WriteFile("IMG_7.jpg", "two");
  dir.WriteFile("notes.txt", "three");
  const std::string saved = (elsewhere.Path() / "pass.vtr").string();
  const TRun pass = RunProgram({"-x", dir.Folder(), "replace", "--regex", "--extension", R"(^img_(\d+)\.jpe?g$)",
                                "Rome $1.jpg", "--save", saved},
                               dir.Path());
  ASSERT_EQ(pass.Exit, 0) << pass.Err;
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"Rome 0042.jpg", "Rome 7.jpg", "notes.txt"}));
  EXPECT_EQ(dir.ReadFile("Rome 0042.jpg"), "one");

  const TRun recover = RunProgram({"recover", saved}, elsewhere.Path());
  ASSERT_EQ(recover.Exit, 0) << recover.Err;
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"IMG_0042.JPG", "IMG_7.jpg", "notes.txt"}));
}

TEST(CliRegex, APatternOrReplacementThatDoesNotCompileExitsTwoAndRenamesNothing) {
  TTempFolder dir;
  dir.WriteFile("abc.txt");
  const struct {
    std::vector<std::string> operands;
    std::string error;
  } cases[] = {
      {{"(abc", "x"}, "the regular expression does not compile at position 4: missing closing parenthesis"},
      {{"(a)", "$2"}, "the replacement does not compile at position 0: "},
      {{"", "x"}, "Specify text to be searched."},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"-x", dir.Folder(), "replace", "--regex"};
    args.insert(args.end(), c.operands.begin(), c.operands.end());
    const TRun run = RunProgram(args, dir.Path());
    EXPECT_EQ(run.Exit, 2) << c.operands[0];
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err.rfind("veltrane-cli: " + c.error, 0), 0u) << run.Err;
  }
  EXPECT_EQ(dir.Names(), std::set<std::string>{"abc.txt"});
}

TEST(CliRegex, ACatastrophicPatternGivesAnErrorRowAndThePassGoesOn) {
  TTempFolder dir;
  std::string costly(40, 'a');
  costly.append("b.txt");
  dir.WriteFile(costly);
  dir.WriteFile("aa.txt");
  const TRun run =
      RunProgram({"-x", dir.Folder(), "replace", "--regex", "--case-sensitive", "(a+)+$", "x"}, dir.Path());
  EXPECT_EQ(run.Exit, 1) << run.Err;
  std::string errorRow = costly;
  errorRow.append("\t\t").append(dir.Folder()).append("\tError");
  EXPECT_NE(run.Out.find(errorRow), std::string::npos) << run.Out;
  EXPECT_NE(run.Out.find("aa.txt\tx.txt\t" + dir.Folder() + "\tOk"), std::string::npos) << run.Out;
  EXPECT_EQ(dir.Names(), (std::set<std::string>{costly, "x.txt"}));
}

TEST(CliRegex, TheOptionBelongsToReplaceAndLetsASlashIntoThePattern) {
  const TParseResult regex = ParseCommandLine({"f", "replace", "[^/]+", "x", "--regex"});
  ASSERT_TRUE(regex) << regex.Error();
  EXPECT_TRUE(regex->Controls.ChkBxRegex);
  const TParseResult plain = ParseCommandLine({"f", "replace", "a/b", "x"});
  ASSERT_FALSE(plain);
  const TParseResult slashedReplacement = ParseCommandLine({"f", "replace", "a", "x/y", "--regex"});
  EXPECT_FALSE(slashedReplacement);
  const TParseResult elsewhere = ParseCommandLine({"f", "insert", "x", "--regex"});
  ASSERT_FALSE(elsewhere);
  EXPECT_EQ(elsewhere.Error(), "option '--regex' does not apply to insert");
}

}  // namespace
}  // namespace vt::test
