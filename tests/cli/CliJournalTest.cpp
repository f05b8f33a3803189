// The journal of a real pass through the built program: killed at chosen
// moments of its writes, the pass leaves every rename on record and recover
// --last brings every file back.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "cli/CliTestSupport.h"
#include "results/PassJournals.h"
#include "support/TempFolder.h"

namespace vt::test {
namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 1000;  // four blocks of renames

std::set<std::string> MakeFiles(TTempFolder& dir) {
  std::set<std::string> names;
  for (int i = 0; i < kFiles; ++i) {
    const std::string name = "f" + std::to_string(10000 + i) + ".txt";
    dir.WriteFile(name, name);
    names.insert(name);
  }
  return names;
}

std::size_t Renamed(const TTempFolder& dir) {
  std::size_t renamed = 0;
  for (const std::string& name : dir.Names()) renamed += name.starts_with("new-") ? 1u : 0u;
  return renamed;
}

std::vector<fs::path> FilesEndingWith(const fs::path& folder, const std::string& end) {
  std::vector<fs::path> files;
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(folder, ignored))
    if (entry.path().filename().string().ends_with(end)) files.push_back(entry.path());
  return files;
}

// Appends are counted from 1: the header, then one per block of 256 entries
// (with the outcomes of the block before); "." and ".." are entries of the
// first block.
TEST(CliJournal, AKillAtAnyWriteLeavesEveryRenameRecoverable) {
  struct Case {
    const char* KillAt;
    std::size_t Renamed;  // files renamed when the process died
  };
  const std::vector<Case> cases{
      {"1", 0},           // after the header: nothing renamed
      {"2", 0},           // after the first intents, before their renames
      {"3:before", 254},  // the first block renamed, its outcomes never written
      {"3", 254},         // outcomes written, the second block's intents too
      {"4:torn", 510},    // the write cut in half: a torn tail
      {"5", 766},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.KillAt);
    TTempFolder dir;
    TTempFolder state;
    const std::set<std::string> before = MakeFiles(dir);
    const std::vector<std::string> env{"XDG_STATE_HOME=" + state.Path().string()};
    std::vector<std::string> killed = env;
    killed.push_back(std::string("VELTRANE_TEST_KILL_APPEND=") + c.KillAt);
    const TRun pass = RunProgram({"-x", dir.Folder(), "insert", "new-", "--at", "begin"}, dir.Path(), killed);
    EXPECT_EQ(pass.Exit, 128 + SIGKILL) << pass.Err;
    EXPECT_EQ(Renamed(dir), c.Renamed);

    const TRun recover = RunProgram({"recover", "--last"}, dir.Path(), env);
    if (c.Renamed == 0) {
      EXPECT_EQ(recover.Exit, 2) << recover.Err;  // nothing to undo
    } else {
      EXPECT_EQ(recover.Exit, 0) << recover.Err;
      EXPECT_NE(recover.Err.find("which did not end"), std::string::npos) << recover.Err;
      EXPECT_EQ(Lines(recover.Out).size(), c.Renamed);
    }
    EXPECT_EQ(dir.Names(), before);
    for (const std::string& name : {std::string("f10000.txt"), std::string("f10999.txt")})
      EXPECT_EQ(dir.ReadFile(name), name);
  }
}

TEST(CliJournal, RecoverLastTakesTheNewestUnfinishedPassAndPassesOverWhatItUndid) {
  TTempFolder dir;
  TTempFolder state;
  const std::set<std::string> before = MakeFiles(dir);
  const std::vector<std::string> env{"XDG_STATE_HOME=" + state.Path().string()};
  // A pass that ended, then one on its results killed in the middle.
  ASSERT_EQ(RunProgram({"-x", dir.Folder(), "insert", "new-", "--at", "begin"}, dir.Path(), env).Exit, 0);
  std::vector<std::string> killed = env;
  killed.push_back("VELTRANE_TEST_KILL_APPEND=3");
  RunProgram({"-x", dir.Folder(), "insert", "z"}, dir.Path(), killed);
  const fs::path records = state.Path() / "veltrane";
  EXPECT_EQ(FilesEndingWith(records, ".vtj").size(), 2u);

  const TRun first = RunProgram({"recover", "--last"}, dir.Path(), env);
  EXPECT_EQ(first.Exit, 0) << first.Err;
  EXPECT_EQ(Lines(first.Out).size(), 254u);
  EXPECT_EQ(Renamed(dir), static_cast<std::size_t>(kFiles));
  const TRun second = RunProgram({"recover", "--last"}, dir.Path(), env);
  EXPECT_EQ(second.Exit, 0) << second.Err;
  EXPECT_EQ(dir.Names(), before);
  const TRun third = RunProgram({"recover", "--last"}, dir.Path(), env);
  EXPECT_EQ(third.Exit, 2) << third.Err;
  EXPECT_EQ(dir.Names(), before);
}

// An older version kept a result file beside each journal: undoing that file
// marks the journal beside it, as it did then.
TEST(CliJournal, UndoingAnOlderVersionsRecordByItsNameMarksItsJournalToo) {
  TTempFolder dir;
  TTempFolder state;
  const std::set<std::string> before = MakeFiles(dir);
  const std::vector<std::string> env{"XDG_STATE_HOME=" + state.Path().string()};
  const std::string saved = state.File("saved.vtr");
  ASSERT_EQ(RunProgram({"-x", "-o", saved, dir.Folder(), "insert", "new-", "--at", "begin"}, dir.Path(), env).Exit, 0);
  const std::vector<fs::path> journals = FilesEndingWith(state.Path() / "veltrane", ".vtj");
  ASSERT_EQ(journals.size(), 1u);
  const std::string record = ResultPathFor(journals[0].string());
  fs::copy_file(saved, record);
  EXPECT_EQ(RunProgram({"recover", record}, dir.Path(), env).Exit, 0);
  EXPECT_EQ(dir.Names(), before);
  EXPECT_EQ(RunProgram({"recover", "--last"}, dir.Path(), env).Exit, 2);
  EXPECT_EQ(dir.Names(), before);
}

TEST(CliJournal, SyncAndNoSaveKeepTheirPromises) {
  TTempFolder dir;
  TTempFolder state;
  const std::set<std::string> before = MakeFiles(dir);
  const std::vector<std::string> env{"XDG_STATE_HOME=" + state.Path().string()};
  const TRun synced = RunProgram({"-x", "--sync", dir.Folder(), "insert", "new-", "--at", "begin"}, dir.Path(), env);
  EXPECT_EQ(synced.Exit, 0) << synced.Err;
  EXPECT_EQ(Renamed(dir), static_cast<std::size_t>(kFiles));
  const TRun recover = RunProgram({"recover", "--last", "--sync"}, dir.Path(), env);
  EXPECT_EQ(recover.Exit, 0) << recover.Err;
  EXPECT_EQ(dir.Names(), before);

  const fs::path records = state.Path() / "veltrane";
  const std::size_t files = FilesEndingWith(records, "").size();
  const TRun none = RunProgram({"-x", "--no-save", dir.Folder(), "insert", "b"}, dir.Path(), env);
  EXPECT_EQ(none.Exit, 0) << none.Err;
  EXPECT_EQ(FilesEndingWith(records, "").size(), files);
  EXPECT_EQ(RunProgram({"show", "--sync", "x.vtr"}, dir.Path(), env).Exit, 2);
}

// Renumbering moves each file into the name the next one left: one recover
// brings every file back, from the journal or from the result file read a
// batch at a time.
TEST(CliJournal, RenumberingShiftsAreUndoneInOneRecover) {
  struct Case {
    int Files;
    bool FromResultFile;
    const char* KillAt;  // nullptr: the pass ends; else killed in its last block, after its renames
  };
  // Appends: the header, the intents of each block of 256 entries ("." and ".." among them), the last outcomes.
  for (const Case c : {Case{10, false, nullptr}, Case{5000, false, nullptr}, Case{5000, true, nullptr},
                       Case{10, false, "3:before"}, Case{5000, false, "22:before"}}) {
    SCOPED_TRACE(std::to_string(c.Files) + (c.FromResultFile ? " from the result file" : " from the journal") +
                 (c.KillAt != nullptr ? std::string(", killed at ") + c.KillAt : std::string()));
    TTempFolder dir(FastTempBase());
    TTempFolder state;
    std::set<std::string> before;
    for (int i = 2; i < c.Files + 2; ++i) {
      dir.WriteFile(std::to_string(i) + ".txt", std::to_string(i));
      before.insert(std::to_string(i) + ".txt");
    }
    const std::vector<std::string> env{"XDG_STATE_HOME=" + state.Path().string()};
    std::vector<std::string> passEnv = env;
    if (c.KillAt != nullptr) passEnv.push_back(std::string("VELTRANE_TEST_KILL_APPEND=") + c.KillAt);
    std::vector<std::string> args{"-x", "-y", dir.Folder(), "number", "--start", "1", "--order", "natural"};
    if (c.FromResultFile) args.insert(args.end(), {"-o", state.File("saved.vtr")});
    const TRun pass = RunProgram(args, dir.Path(), passEnv);
    ASSERT_EQ(pass.Exit, c.KillAt != nullptr ? 128 + SIGKILL : 0) << pass.Err;
    ASSERT_FALSE(dir.Exists(std::to_string(c.Files + 1) + ".txt"));
    ASSERT_TRUE(dir.Exists("1.txt"));
    std::vector<std::string> recover{"recover", "--last"};
    if (c.FromResultFile) {
      // The result file an older version kept beside the journal.
      const std::vector<fs::path> journals = FilesEndingWith(state.Path() / "veltrane", ".vtj");
      ASSERT_EQ(journals.size(), 1u);
      const std::string record = ResultPathFor(journals[0].string());
      fs::copy_file(state.File("saved.vtr"), record);
      recover = {"recover", record};
    }
    const TRun undone = RunProgram(recover, dir.Path(), env);
    EXPECT_EQ(undone.Exit, 0) << undone.Err;
    EXPECT_EQ(dir.Names(), before);
    EXPECT_EQ(dir.ReadFile("2.txt"), "2");
    EXPECT_EQ(RunProgram({"recover", "--last"}, dir.Path(), env).Exit, 2);
  }
}

}  // namespace
}  // namespace vt::test
