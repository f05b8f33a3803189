// The command line never renames without a record it can keep: where the rows
// are saved is settled before the first rename, and a pass ended by a signal or
// by a reader that went away still saves every rename it made.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "passes/ResultTable.h"
#include "results/ResultFile.h"

namespace vt::test {
namespace {

namespace fs = std::filesystem;

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

TEST(CliRecord, SaveFileInTheRenamedFolderHoldsItsNameBeforeThePass) {
  TTempFolder dir;
  dir.WriteFile("old.txt", "data");
  const std::string saved = dir.Folder() + "new.txt";
  const TRun run = RunProgram({"-x", dir.Folder(), "-m", "*.txt", "replace", "old", "new", "-o", saved}, dir.Path());
  // The rename finds the name taken; the file renamed to it before was replaced.
  EXPECT_EQ(run.Exit, 1) << run.Err;
  EXPECT_EQ(dir.ReadFile("old.txt"), "data");
  const TRun show = RunProgram({"show", saved}, dir.Path());
  EXPECT_EQ(show.Out, "old.txt\tnew.txt\t" + dir.Folder() + "\tError\n") << show.Err;
}

TEST(CliRecord, SaveFileThatIsNoResultFileOrCannotBeCreatedRenamesNothing) {
  TTempFolder dir;
  dir.WriteFile("a.txt", "data");
  dir.WriteFile("notes.md", "my notes");
  fs::create_directory(dir.Path() / "folder");
  struct Case {
    std::string Save, Says;
  };
  const std::vector<Case> cases{
      {dir.Folder() + "notes.md", "is not a result file"},
      {dir.Folder() + "folder", "is not a result file"},
      {dir.Folder() + "no/such/folder/r.vtr", "cannot create"},
      {dir.Folder() + "a.txt/r.vtr", "cannot create"},
  };
  for (const Case& c : cases) {
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"-x", dir.Folder(), "-m", "*.txt", "insert", "z", "-o", c.Save},
          std::vector<std::string>{"recover", dir.Folder() + "notes.md", "-o", c.Save}}) {
      const TRun run = RunProgram(command, dir.Path());
      EXPECT_EQ(run.Exit, 2) << c.Save;
      EXPECT_NE(run.Err.find(c.Says), std::string::npos) << run.Err;
      EXPECT_NE(run.Err.find("nothing was renamed"), std::string::npos) << run.Err;
    }
  }
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"a.txt", "folder", "notes.md"}));
  EXPECT_EQ(dir.ReadFile("notes.md"), "my notes");
}

TEST(CliRecord, SaveFileMadeForAPassWithoutRowsIsRemovedAgain) {
  TTempFolder dir;
  dir.WriteFile("a.txt");
  const TRun run = RunProgram({"-x", dir.Folder(), "replace", "zzz", "y", "-o", dir.Folder() + "r.vtr"}, dir.Path());
  EXPECT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(dir.Names(), std::set<std::string>{"a.txt"});
}

// Many files, so that a pass is still running when the test interferes.
void ManyFiles(const TTempFolder& dir, int count) {
  for (int i = 0; i < count; ++i) dir.WriteFile("f" + std::to_string(i) + ".txt");
}

// Every "Ok" row of the saved file is a rename on disk, and every rename on disk has its row.
void ExpectSavedRowsAreTheRenamesDone(const TTempFolder& dir, const std::string& saved, int files) {
  const TRun show = RunProgram({"show", saved}, dir.Path());
  ASSERT_EQ(show.Exit, 0) << show.Err;
  std::set<std::string> renamedByRows;
  for (const std::string& line : Lines(show.Out)) {
    ASSERT_NE(line.find("\tOk"), std::string::npos) << line;
    renamedByRows.insert(line.substr(line.find('\t') + 1, line.find('\t', line.find('\t') + 1) - line.find('\t') - 1));
  }
  std::set<std::string> renamedOnDisk;
  for (const std::string& name : dir.Names())
    if (name.rfind("x", 0) == 0) renamedOnDisk.insert(name);
  EXPECT_EQ(renamedByRows, renamedOnDisk);
  EXPECT_GT(renamedOnDisk.size(), 0u);
  EXPECT_LT(renamedOnDisk.size(), static_cast<std::size_t>(files)) << "the pass was not stopped";
}

TEST(CliRecord, TermHupAndAClosedPipeStopAPassWithEveryRenameSaved) {
  // More rows than two fills of the pipe: the pass waits for the reader long before its end.
  constexpr int kFiles = 6000;
  struct Case {
    const char* What;
    int Signal;  // 0: the reader goes away instead
    int Exit;
  };
  for (const Case& c :
       {Case{"SIGTERM", SIGTERM, 128 + SIGTERM}, Case{"SIGHUP", SIGHUP, 128 + SIGHUP}, Case{"closed pipe", 0, 2}}) {
    SCOPED_TRACE(c.What);
    TTempFolder dir(FastTempBase());
    TTempFolder out;
    ManyFiles(dir, kFiles);
    const std::string saved = (out.Path() / "r.vtr").string();
    TSpawned cli({"-x", dir.Folder(), "-m", "*.txt", "insert", "x", "--at", "begin", "-f", "tsv", "-o", saved},
                 out.Path());
    std::string line;
    ASSERT_TRUE(cli.ReadLine(line));  // renaming has begun
    if (c.Signal != 0) {
      cli.Signal(c.Signal);
      cli.ReadAll();
    } else {
      cli.CloseOutput();
    }
    EXPECT_EQ(cli.Wait(), c.Exit) << cli.Err();
    ExpectSavedRowsAreTheRenamesDone(dir, saved, kFiles);
  }
}

TEST(CliRecord, RealPassWithoutSaveKeepsItsJournalAloneThatRecoverLastUndoes) {
  TTempFolder dir;
  TTempFolder state;
  dir.WriteFile("a.txt", "one");
  const std::vector<std::string> env{"XDG_STATE_HOME=" + state.Path().string()};

  const TRun pass = RunProgram({"-x", dir.Folder(), "insert", "new-"}, dir.Path(), env);
  ASSERT_EQ(pass.Exit, 0) << pass.Err;
  // One file per pass: the journal, for the user alone, and no result file beside it.
  const std::set<std::string> files = Names(state.Path() / "veltrane");
  ASSERT_EQ(files.size(), 1u);
  ASSERT_TRUE(files.begin()->ends_with(".vtj")) << *files.begin();
  const std::string journal = (state.Path() / "veltrane" / *files.begin()).string();
  EXPECT_EQ(fs::status(journal).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_NE(pass.Err.find("rows kept in " + journal), std::string::npos) << pass.Err;
  EXPECT_NE(pass.Err.find("veltrane-cli recover " + journal), std::string::npos) << pass.Err;
  EXPECT_EQ(dir.Names(), std::set<std::string>{"anew-.txt"});

  const TRun recover = RunProgram({"recover", "--last"}, dir.Path(), env);
  EXPECT_EQ(recover.Exit, 0) << recover.Err;
  EXPECT_EQ(dir.Names(), std::set<std::string>{"a.txt"});
  EXPECT_EQ(dir.ReadFile("a.txt"), "one");
  // A recover keeps no file of its own, and the pass's journal says it was undone.
  EXPECT_EQ(Names(state.Path() / "veltrane"), files);
  const TRun again = RunProgram({"recover", "--last"}, dir.Path(), env);
  EXPECT_EQ(again.Exit, 2) << again.Err;
  EXPECT_EQ(dir.Names(), std::set<std::string>{"a.txt"});
}

TEST(CliRecord, AutomaticFilesFollowHomeKeepTheNewestFiftyAndNoSaveMakesNone) {
  TTempFolder dir;
  TTempFolder home;
  dir.WriteFile("a.txt");
  const fs::path folder = home.Path() / ".local/state/veltrane";
  fs::create_directories(folder);
  // Older passes, and a file that is not one of them.
  for (int second = 1; second <= 55; ++second) {
    const std::string name =
        "2020-01-01_10-00-" + std::string(second < 10 ? "0" : "") + std::to_string(second) + ".vtr";
    std::ofstream(folder / name) << "old";
  }
  std::ofstream(folder / "mine.vtr") << "keep";
  const std::size_t before = Names(folder).size();
  const std::vector<std::string> env{"XDG_STATE_HOME=", "HOME=" + home.Path().string()};

  const TRun none = RunProgram({"-x", "--no-save", dir.Folder(), "insert", "b"}, dir.Path(), env);
  EXPECT_EQ(none.Exit, 0) << none.Err;
  EXPECT_EQ(Names(folder).size(), before);

  const TRun pass = RunProgram({"-x", dir.Folder(), "insert", "c"}, dir.Path(), env);
  EXPECT_EQ(pass.Exit, 0) << pass.Err;
  const std::set<std::string> after = Names(folder);
  // 49 older passes, the pass's journal, and the file that is not a pass.
  EXPECT_EQ(after.size(), 50u + 1u);
  EXPECT_TRUE(after.count("mine.vtr"));
  EXPECT_EQ(dir.Names(), std::set<std::string>{"abc.txt"});
}

TEST(CliRecord, RecoverLastWithoutAutomaticFilesRenamesNothing) {
  TTempFolder state;
  const TRun run = RunProgram({"recover", "--last"}, state.Path(), {"XDG_STATE_HOME=" + state.Path().string()});
  EXPECT_EQ(run.Exit, 2);
  EXPECT_NE(run.Err.find("no kept pass to undo"), std::string::npos) << run.Err;
}

// A result file can come from anywhere: recover acts only where a pass could have.
TEST(CliRecord, CraftedRowsMakeRecoverRenameNothing) {
  TTempFolder dir;
  // A folder whose path, with its "/", is 255 bytes: what a file keeps of a longer one.
  std::string deep = dir.Folder();
  while (deep.size() < 255) deep += std::string(std::min<std::size_t>(255 - deep.size() - 1, 100), 'd') + "/";
  ASSERT_EQ(deep.size(), 255u);
  fs::create_directories(deep);
  std::ofstream(deep + "b.txt") << "unrelated";
  dir.WriteFile("target.txt", "target");
  ASSERT_EQ(::symlink("target.txt", (dir.Path() / "link.txt").c_str()), 0);
  ASSERT_EQ(::mkfifo((dir.Path() / "fifo.txt").c_str(), 0600), 0);
  dir.WriteFile("plain.txt", "plain");

  TResultTable table;
  table.AppendRow("a.txt", "b.txt", deep, "Ok");
  table.AppendRow("a.txt", "plain.txt", "relative/", "Ok");
  table.AppendRow("a.txt", "link.txt", dir.Folder(), "Ok");
  table.AppendRow("a.txt", "fifo.txt", dir.Folder(), "Ok");
  const std::string crafted = (dir.Path() / "crafted.vtr").string();
  ASSERT_TRUE(SaveResultFile(table, crafted));
  fs::create_directory(dir.Path() / "relative");
  dir.WriteFile("relative/plain.txt");

  const TRun run = RunProgram({"recover", crafted, "-f", "tsv"}, dir.Path());
  EXPECT_EQ(run.Exit, 1) << run.Err;
  EXPECT_EQ(Lines(run.Out), (std::vector<std::string>{"b.txt		" + deep + "	Error",
                                                      "plain.txt		relative/	Error",
                                                      "link.txt		" + dir.Folder() + "	File not found",
                                                      "fifo.txt		" + dir.Folder() + "	File not found"}));
  EXPECT_EQ(Names(deep), std::set<std::string>{"b.txt"});
  EXPECT_EQ(dir.Names("relative"), std::set<std::string>{"plain.txt"});
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"crafted.vtr", "d" + std::string(99, 'd'), "fifo.txt", "link.txt",
                                                "plain.txt", "relative", "target.txt"}));
}

// The record of a pass may lie in the folder it renames: it keeps its name.
TEST(CliRecord, APassNeverRenamesItsOwnRecord) {
  TTempFolder dir;
  dir.WriteFile("a.txt", "a");
  const std::string saved = dir.Folder() + "r.vtr";
  const TRun run =
      RunProgram({"-x", "-f", "tsv", dir.Folder(), "insert", "X", "--at", "begin", "-o", saved}, dir.Path());
  EXPECT_EQ(run.Exit, 1) << run.Err;
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"Xa.txt", "r.vtr"}));
  EXPECT_EQ(Lines(run.Out), (std::vector<std::string>{"a.txt\tXa.txt\t" + dir.Folder() + "\tOk",
                                                      "r.vtr\tXr.vtr\t" + dir.Folder() + "\tError"}));
  TResultTable table;
  ASSERT_TRUE(LoadResultFile(saved, table));
  EXPECT_EQ(table.RowCount(), 2u);
}

// More rows than one batch: a recover that reads its file row by row undoes
// them all, in their order.
TEST(CliRecord, RecoverOfManyRowsInAPipeUndoesEveryRowInOrder) {
  TTempFolder dir;
  constexpr int kRows = 4500;
  TResultTable table;
  for (int i = 0; i < kRows; ++i) {
    const std::string name = std::to_string(i);
    dir.WriteFile("x" + name, name);
    table.AppendRow(name, "x" + name, dir.Folder(), "Ok");
  }
  const std::string record = (dir.Path() / "many.vtr").string();
  ASSERT_TRUE(SaveResultFile(table, record));
  const TRun run = RunProgram({"recover", record, "-f", "json"}, dir.Path());
  EXPECT_EQ(run.Exit, 0) << run.Err;
  const std::vector<std::string> lines = Lines(run.Out);
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kRows));
  for (const int i : {0, 4095, 4096, kRows - 1}) {
    EXPECT_NE(lines[static_cast<std::size_t>(i)].find("\"File\":\"x" + std::to_string(i) + "\""), std::string::npos);
    EXPECT_EQ(dir.ReadFile(std::to_string(i)), std::to_string(i));
  }
  EXPECT_EQ(dir.Names().size(), static_cast<std::size_t>(kRows) + 1);
}

// A name or argument in a message reaches a terminal escaped, as in the table.
TEST(CliRecord, MessagesShowArgumentsEscaped) {
  TTempFolder dir;
  const std::string name =
      "\x1b[2Jgone\a\xe2\x80\xae"
      "txt.vtr";
  const TRun run = RunProgram({"show", name}, dir.Path());
  EXPECT_EQ(run.Exit, 2);
  EXPECT_EQ(run.Err.find('\x1b'), std::string::npos) << run.Err;
  EXPECT_EQ(run.Err.find("\xe2\x80\xae"), std::string::npos) << run.Err;
  EXPECT_NE(run.Err.find("\\x1b[2Jgone\\x07\\xe2\\x80\\xaetxt.vtr"), std::string::npos) << run.Err;
}

TEST(CliRecord, AFileOfAHundredThousandColumnItemsIsNoResultFile) {
  TTempFolder dir;
  std::string bytes = std::string(
      "TPF0\x09TListView\x08ListView\x07"
      "Columns\x0e",
      32);
  for (int i = 0; i < 100000; ++i) bytes += std::string("\x01\x00", 2);
  bytes += std::string("\x00\x00\x00", 3);
  dir.WriteFile("columns.vtr", bytes);
  for (const char* command : {"show", "recover"}) {
    const TRun run = RunProgram({command, "columns.vtr"}, dir.Path());
    EXPECT_EQ(run.Exit, 2);
    EXPECT_EQ(run.Err, "veltrane-cli: File is not a valid Veltrane file result.\n");
  }
}

}  // namespace
}  // namespace vt::test
