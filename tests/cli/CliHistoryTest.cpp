// The history of passes through the built program: listed newest first in
// each format, a pass named by its ID shown and undone, and an earlier pass
// whose files later passes renamed again undone only together with them.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "cli/CliTestSupport.h"
#include "cli/CommandLine.h"
#include "support/TempFolder.h"

namespace vt::test {
namespace {

// The value of a string key of a JSON line this program wrote.
std::string JsonField(const std::string& line, const std::string& key) {
  const std::string start = "\"" + key + "\":";
  const std::size_t at = line.find(start);
  if (at == std::string::npos) return "<missing>";
  std::size_t from = at + start.size();
  if (line[from] != '"') return line.substr(from, line.find_first_of(",}", from) - from);
  // Up to the first quote no backslash escapes; the text as written.
  std::size_t end = ++from;
  while (end < line.size() && line[end] != '"') end += line[end] == '\\' ? 2U : 1U;
  return line.substr(from, end - from);
}

TEST(CliHistory, ParsesTheCommandAndItsOptions) {
  struct Case {
    std::vector<std::string> Args;
    const char* Error;  // a part of the usage error, or null
  };
  const std::vector<Case> cases{
      {{"history"}, nullptr},
      {{"history", "-f", "json"}, nullptr},
      {{"history", "extra"}, "unexpected argument 'extra'"},
      {{"history", "-x"}, "does not apply to history"},
      {{"history", "--save", "x.vtr"}, "does not apply to history"},
      {{"recover", "3fa9c2", "--with-later"}, nullptr},
      {{"recover", "--last", "--with-later"}, "needs a pass's ID"},
      {{"show", "3fa9c2", "--with-later"}, "applies to recover only"},
      {{"/tmp", "insert", "x", "--with-later"}, "applies to recover only"},
      {{"-x", "/tmp", "insert", "x", "--keep-passes", "3", "--keep-megabytes", "0"}, nullptr},
      {{"/tmp", "insert", "x", "--keep-passes", "0"}, "needs a whole number from 1"},
      {{"/tmp", "insert", "x", "--keep-megabytes", "lots"}, "needs a whole number"},
      {{"show", "3fa9c2", "--keep-passes", "3"}, "does not apply to show"},
      {{"history", "--keep-megabytes", "3"}, "does not apply to history"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Args[0] + " " + (c.Args.size() > 1 ? c.Args[1] : ""));
    const TParseResult parsed = ParseCommandLine(c.Args);
    if (c.Error == nullptr) {
      ASSERT_TRUE(parsed.HasValue()) << parsed.Error();
      EXPECT_EQ(parsed->WithLater, c.Args.back() == "--with-later");
    } else {
      ASSERT_FALSE(parsed.HasValue());
      EXPECT_NE(parsed.Error().find(c.Error), std::string::npos) << parsed.Error();
    }
  }
}

TEST(CliHistory, AnEarlierPassIsUndoneWithTheLaterPassesThatRenamedItsFilesAgain) {
  TTempFolder dir;
  TTempFolder state;
  for (const char* name : {"one.txt", "two.txt", "three.txt", "notes.md"}) dir.WriteFile(name, name);
  const std::set<std::string> before = dir.Names();
  const std::vector<std::string> env{"XDG_STATE_HOME=" + state.Path().string()};
  // A, then B over every file A renamed, then C over one of them; D elsewhere.
  ASSERT_EQ(RunProgram({"-x", "-m", "*.txt", dir.Folder(), "insert", "a-", "--at", "begin"}, dir.Path(), env).Exit, 0);
  ASSERT_EQ(RunProgram({"-x", "-m", "*.txt", dir.Folder(), "insert", "b-", "--at", "begin"}, dir.Path(), env).Exit, 0);
  ASSERT_EQ(RunProgram({"-x", "-m", "b-a-one*", dir.Folder(), "replace", "one", "uno"}, dir.Path(), env).Exit, 0);
  ASSERT_EQ(RunProgram({"-x", "-m", "*.md", dir.Folder(), "case", "upper"}, dir.Path(), env).Exit, 0);
  const std::set<std::string> after = dir.Names();

  const TRun history = RunProgram({"history", "-f", "json"}, dir.Path(), env);
  ASSERT_EQ(history.Exit, 0) << history.Err;
  const std::vector<std::string> lines = Lines(history.Out);
  ASSERT_EQ(lines.size(), 4U);
  const std::vector<std::string> operations{"case upper; *.md", "replace \\\"one\\\" with \\\"uno\\\"; b-a-one*",
                                            "insert \\\"b-\\\" at the start; *.txt",
                                            "insert \\\"a-\\\" at the start; *.txt"};
  const std::vector<std::string> oks{"1", "1", "3", "3"};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(lines[i]);
    EXPECT_EQ(JsonField(lines[i], "operation"), operations[i]);
    EXPECT_EQ(JsonField(lines[i], "ok"), oks[i]);
    EXPECT_EQ(JsonField(lines[i], "state"), "can be undone");
    EXPECT_EQ(JsonField(lines[i], "folder"), dir.Folder());
    EXPECT_EQ(JsonField(lines[i], "started").size(), 25U);  // 2026-12-09T10:00:00+00:00
  }
  const std::string a = JsonField(lines[3], "id");
  const std::string c = JsonField(lines[1], "id");

  // Shown by its ID, as a file would be.
  const TRun shown = RunProgram({"show", c, "-f", "tsv"}, dir.Path(), env);
  EXPECT_EQ(shown.Exit, 0) << shown.Err;
  EXPECT_EQ(shown.Out, "b-a-one.txt\tb-a-uno.txt\t" + dir.Folder() + "\tOk\n");

  // Alone it would leave files behind: said, and nothing moves.
  const TRun alone = RunProgram({"recover", a}, dir.Path(), env);
  EXPECT_EQ(alone.Exit, 2);
  EXPECT_NE(alone.Err.find("3 files of pass " + a + " were renamed again by 2 later passes"), std::string::npos)
      << alone.Err;
  EXPECT_NE(alone.Err.find("recover " + a + " --with-later"), std::string::npos) << alone.Err;
  EXPECT_EQ(dir.Names(), after);

  const TRun together = RunProgram({"recover", a, "--with-later", "-f", "tsv"}, dir.Path(), env);
  EXPECT_EQ(together.Exit, 0) << together.Err;
  std::set<std::string> expected = before;
  expected.erase("notes.md");
  expected.insert("NOTES.MD");  // D touched none of A's files: it stands
  EXPECT_EQ(dir.Names(), expected);
  for (const char* name : {"one.txt", "two.txt", "three.txt"}) EXPECT_EQ(dir.ReadFile(name), name);

  const std::vector<std::string> states = Lines(RunProgram({"history", "-f", "tsv"}, dir.Path(), env).Out);
  ASSERT_EQ(states.size(), 4U);
  EXPECT_TRUE(states[0].ends_with("\tcan be undone"));
  for (std::size_t i = 1; i < states.size(); ++i) EXPECT_TRUE(states[i].ends_with("\tundone")) << states[i];
  const TRun again = RunProgram({"recover", a}, dir.Path(), env);
  EXPECT_EQ(again.Exit, 2);
  EXPECT_NE(again.Err.find("undone already"), std::string::npos) << again.Err;
  const TRun unknown = RunProgram({"recover", "0000000"}, dir.Path(), env);
  EXPECT_EQ(unknown.Exit, 2);
  EXPECT_NE(unknown.Err.find("no kept pass of that ID"), std::string::npos) << unknown.Err;
}

// An older version's result file whose journal is gone, and a recover killed
// before its end: listed for what they are, the orphan undone by its ID, the
// recover sent back to the pass it was undoing.
TEST(CliHistory, AnOrphanAndARecoverCutShortAreListedForWhatTheyAre) {
  TTempFolder dir;
  TTempFolder state;
  for (const char* name : {"one.txt", "two.txt"}) dir.WriteFile(name, name);
  const std::vector<std::string> env{"XDG_STATE_HOME=" + state.Path().string()};
  const std::string records = state.Folder() + "veltrane/";
  // The orphan: a pass saved to a file, which then takes the place of its journal.
  ASSERT_EQ(
      RunProgram({"-x", "-m", "one.txt", "-o", state.File("one.vtr"), dir.Folder(), "insert", "a-", "--at", "begin"},
                 dir.Path(), env)
          .Exit,
      0);
  const std::vector<std::string> first = Lines(RunProgram({"history", "-f", "json"}, dir.Path(), env).Out);
  ASSERT_EQ(first.size(), 1U);
  const std::string journal = JsonField(first[0], "journal");
  std::filesystem::rename(state.File("one.vtr"), journal.substr(0, journal.size() - 4) + ".vtr");
  std::filesystem::remove(journal);
  // A pass over two.txt, and a recover of it killed after its first append.
  ASSERT_EQ(RunProgram({"-x", "-m", "two.txt", dir.Folder(), "insert", "b-"}, dir.Path(), env).Exit, 0);
  std::vector<std::string> killed = env;
  killed.push_back("VELTRANE_TEST_KILL_APPEND=2");
  RunProgram({"recover", "--last"}, dir.Path(), killed);

  const std::vector<std::string> lines = Lines(RunProgram({"history", "-f", "json"}, dir.Path(), env).Out);
  ASSERT_EQ(lines.size(), 3U) << RunProgram({"history", "-f", "tsv"}, dir.Path(), env).Out;
  std::string orphan;
  std::string recover;
  for (const std::string& line : lines) {
    const std::string said = JsonField(line, "state");
    if (said == "orphan, no journal") orphan = JsonField(line, "id");
    if (said == "recover cut short") recover = JsonField(line, "id");
  }
  ASSERT_FALSE(orphan.empty());
  ASSERT_FALSE(recover.empty());

  const TRun refused = RunProgram({"recover", recover}, dir.Path(), env);
  EXPECT_EQ(refused.Exit, 2);
  EXPECT_NE(refused.Err.find("cut short"), std::string::npos) << refused.Err;
  const TRun shown = RunProgram({"show", orphan, "-f", "tsv"}, dir.Path(), env);
  EXPECT_EQ(shown.Exit, 0) << shown.Err;
  EXPECT_EQ(shown.Out, "one.txt\ta-one.txt\t" + dir.Folder() + "\tOk\n");
  const TRun undone = RunProgram({"recover", orphan}, dir.Path(), env);
  EXPECT_EQ(undone.Exit, 0) << undone.Err;
  EXPECT_TRUE(dir.Exists("one.txt"));
  // The pass the recover was cut short in is finished by recover --last.
  EXPECT_EQ(RunProgram({"recover", "--last"}, dir.Path(), env).Exit, 0);
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"one.txt", "two.txt"}));
}

TEST(CliHistory, TheKeptPassesFollowTheOptionsAndTheConfiguration) {
  TTempFolder dir;
  TTempFolder state;
  TTempFolder config;
  dir.WriteFile("a.txt");
  std::vector<std::string> env{"XDG_STATE_HOME=" + state.Path().string(), "XDG_CONFIG_HOME=" + config.Path().string()};
  const auto kept = [&] { return Lines(RunProgram({"history", "-f", "tsv"}, dir.Path(), env).Out).size(); };
  for (const char* text : {"b", "c", "d"})
    ASSERT_EQ(RunProgram({"-x", dir.Folder(), "insert", text}, dir.Path(), env).Exit, 0);
  EXPECT_EQ(kept(), 3U);
  ASSERT_EQ(RunProgram({"-x", "--keep-passes", "2", dir.Folder(), "insert", "e"}, dir.Path(), env).Exit, 0);
  EXPECT_EQ(kept(), 2U);
  config.WriteFile("veltrane/veltrane.conf", "[History]\nKeptPasses=1\n");
  ASSERT_EQ(RunProgram({"-x", dir.Folder(), "insert", "f"}, dir.Path(), env).Exit, 0);
  EXPECT_EQ(kept(), 1U);
  // The option wins over the configuration; no megabyte keeps the newest all the same.
  ASSERT_EQ(RunProgram({"-x", "--keep-passes", "5", dir.Folder(), "insert", "g"}, dir.Path(), env).Exit, 0);
  EXPECT_EQ(kept(), 2U);
  ASSERT_EQ(
      RunProgram({"-x", "--keep-passes", "5", "--keep-megabytes", "0", dir.Folder(), "insert", "h"}, dir.Path(), env)
          .Exit,
      0);
  EXPECT_EQ(kept(), 1U);
}

}  // namespace
}  // namespace vt::test
