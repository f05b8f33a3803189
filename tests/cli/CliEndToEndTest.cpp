// The built program, run in processes of its own over real temporary folders.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "cli/Usage.h"

namespace vt::test {
namespace {

const std::string kNotAResultFile = "File is not a valid Veltrane file result.";

TEST(CliEndToEnd, SimulationListsWhatWouldBeRenamedAndRenamesNothing) {
  TTempFolder dir;
  dir.WriteFile("photo1.jpg");
  dir.WriteFile("notes.txt");
  const TRun run = RunProgram({dir.Folder(), "replace", "photo", "pic"}, dir.Path());
  EXPECT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out, "photo1.jpg\tpic1.jpg\t" + dir.Folder() + "\tCan be renamed\n");
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"photo1.jpg", "notes.txt"}));
}

TEST(CliEndToEnd, RealPassSavedThenRecoveredAndRedoneInNewProcesses) {
  TTempFolder dir;
  TTempFolder elsewhere;
  dir.WriteFile("photo1.jpg", "one");
  dir.WriteFile("photo2.jpg", "two");
  dir.WriteFile("notes.txt", "three");
  const std::string saved = (elsewhere.Path() / "pass.vtr").string();

  const TRun pass = RunProgram({"-x", dir.Folder(), "replace", "photo", "pic", "--save", saved}, dir.Path());
  ASSERT_EQ(pass.Exit, 0) << pass.Err;
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"pic1.jpg", "pic2.jpg", "notes.txt"}));
  EXPECT_EQ(dir.ReadFile("pic2.jpg"), "two");
  EXPECT_EQ(Lines(pass.Out).size(), 2u);  // "notes.txt" has no match and no row

  const std::string again = (elsewhere.Path() / "recover.vtr").string();
  const TRun recover = RunProgram({"recover", saved, "--save", again}, elsewhere.Path());
  ASSERT_EQ(recover.Exit, 0) << recover.Err;
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"photo1.jpg", "photo2.jpg", "notes.txt"}));
  EXPECT_EQ(dir.ReadFile("photo1.jpg"), "one");
  const std::vector<std::string> rows = Lines(recover.Out);
  ASSERT_EQ(rows.size(), 2u);
  const std::set<std::string> rowSet(rows.begin(), rows.end());
  EXPECT_TRUE(rowSet.count("pic1.jpg\tphoto1.jpg\t" + dir.Folder() + "\tOk"));
  EXPECT_TRUE(rowSet.count("pic2.jpg\tphoto2.jpg\t" + dir.Folder() + "\tOk"));

  // The recover rows, saved, redo the pass.
  const TRun redo = RunProgram({"recover", again}, elsewhere.Path());
  ASSERT_EQ(redo.Exit, 0) << redo.Err;
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"pic1.jpg", "pic2.jpg", "notes.txt"}));

  // The same file once more: nothing is under the names it would move back.
  const TRun stale = RunProgram({"recover", again}, elsewhere.Path());
  EXPECT_EQ(stale.Exit, 1);
  EXPECT_NE(stale.Out.find("File not found"), std::string::npos);
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"pic1.jpg", "pic2.jpg", "notes.txt"}));
}

TEST(CliEndToEnd, RelativeFolderIsTakenFromTheCurrentFolder) {
  TTempFolder parent;
  std::filesystem::create_directory(parent.Path() / "sub");
  parent.WriteFile("sub/a.txt");
  const TRun run = RunProgram({"sub", "case", "upper", "-f", "json"}, parent.Path());
  EXPECT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out, R"({"File":"a.txt","New Name":"A.TXT","Path":")" + parent.Folder() +
                         R"(sub/","Status":"Can be renamed"})"
                         "\n");
}

TEST(CliEndToEnd, SeveralFilesGettingOneNameGiveOneOkTheRestErrorAndExitStatusOne) {
  TTempFolder dir;
  dir.WriteFile("a1.txt", "first");
  dir.WriteFile("a2.txt", "second");
  const TRun run = RunProgram({dir.Folder(), "replace", "a?", "b", "-x", "-f", "tsv"}, dir.Path());
  EXPECT_EQ(run.Exit, 1) << run.Err;
  const std::vector<std::string> rows = Lines(run.Out);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_NE(rows[0].find("\tb.txt\t" + dir.Folder() + "\tOk"), std::string::npos) << rows[0];
  EXPECT_NE(rows[1].find("\tb.txt\t" + dir.Folder() + "\tError"), std::string::npos) << rows[1];
  // The second rename found b.txt there and left both files alone.
  const std::string renamed = rows[0].substr(0, rows[0].find('\t'));
  const std::string refused = rows[1].substr(0, rows[1].find('\t'));
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"b.txt", refused}));
  EXPECT_EQ(dir.ReadFile("b.txt"), renamed == "a1.txt" ? "first" : "second");
}

TEST(CliEndToEnd, UsageErrorsExitWithTwoAndTouchNothing) {
  TTempFolder dir;
  dir.WriteFile("a.txt");
  const std::vector<std::vector<std::string>> cases{
      {dir.Folder(), "replace", "a"},
      {dir.Folder(), "insert", "x", "--at", "offset", "--pos", "128", "-x"},
      {dir.Folder(), "number", "--increment", "21", "-x"},
      {dir.Folder(), "replace", "a", "b", "--save", "r.vtr"},  // a simulation cannot be saved
      {dir.Folder() + "missing", "replace", "a", "b", "-x"},
      {dir.Folder() + "a.txt", "replace", "a", "b", "-x"},
  };
  for (const auto& args : cases) {
    const TRun run = RunProgram(args, dir.Path());
    EXPECT_EQ(run.Exit, 2) << args[1];
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err.rfind("veltrane-cli: ", 0), 0u) << run.Err;
  }
  EXPECT_EQ(dir.Names(), std::set<std::string>{"a.txt"});
}

TEST(CliEndToEnd, HelpAndVersion) {
  TTempFolder dir;
  const TRun help = RunProgram({"--help"}, dir.Path());
  EXPECT_EQ(help.Exit, 0);
  EXPECT_EQ(help.Out.rfind("Usage: veltrane-cli", 0), 0u);
  const TRun version = RunProgram({"--version"}, dir.Path());
  EXPECT_EQ(version.Exit, 0);
  EXPECT_EQ(version.Out, "veltrane-cli 1.2.0\n");
}

TEST(CliEndToEnd, HelpTopicsAndTheirList) {
  TTempFolder dir;
  const TRun list = RunProgram({"help"}, dir.Path());
  EXPECT_EQ(list.Exit, 0);
  for (const THelpTopic& topic : HelpTopics()) {
    SCOPED_TRACE(std::string(topic.Name));
    EXPECT_NE(list.Out.find("  " + std::string(topic.Name) + " "), std::string::npos) << list.Out;
    const TRun shown = RunProgram({"help", std::string(topic.Name)}, dir.Path());
    EXPECT_EQ(shown.Exit, 0);
    EXPECT_EQ(shown.Out, std::string(topic.Heading) + "\n\n" + std::string(topic.Text));
  }
  const TRun unknown = RunProgram({"help", "colours"}, dir.Path());
  EXPECT_EQ(unknown.Exit, 2);
  EXPECT_TRUE(unknown.Out.empty());
  EXPECT_NE(unknown.Err.find("no help topic 'colours' (topics: operations, "), std::string::npos) << unknown.Err;
  EXPECT_EQ(dir.Names(), std::set<std::string>{});
}

TEST(CliEndToEnd, ShowPrintsTheRowsOfAResultFileInEveryFormat) {
  TTempFolder dir;
  dir.WriteFile("a.txt");
  dir.WriteFile("c.txt");
  const std::string saved = (dir.Path() / "r.vtr").string();
  ASSERT_EQ(RunProgram({dir.Folder(), "-m", "*.txt", "-x", "-o", saved, "insert", "_x"}, dir.Path()).Exit, 0);

  const TRun tsv = RunProgram({"show", saved}, dir.Path());
  EXPECT_EQ(tsv.Exit, 0) << tsv.Err;
  const std::vector<std::string> rows = Lines(tsv.Out);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(
      std::set<std::string>(rows.begin(), rows.end()),
      (std::set<std::string>{"a.txt\ta_x.txt\t" + dir.Folder() + "\tOk", "c.txt\tc_x.txt\t" + dir.Folder() + "\tOk"}));

  const TRun json = RunProgram({"show", "-f", "json", saved}, dir.Path());
  EXPECT_EQ(json.Exit, 0);
  EXPECT_NE(json.Out.find(R"({"File":"a.txt","New Name":"a_x.txt","Path":")" + dir.Folder() + R"(","Status":"Ok"})"),
            std::string::npos)
      << json.Out;

  const TRun table = RunProgram({"show", saved, "--format=table"}, dir.Path());
  EXPECT_EQ(table.Exit, 0);
  const std::vector<std::string> lines = Lines(table.Out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].rfind("File   New Name  Path", 0), 0u) << lines[0];
}

TEST(CliEndToEnd, SaveReplacesAnExistingResultFileAndAPassWithoutRowsSavesNothing) {
  TTempFolder dir;
  dir.WriteFile("a.txt");
  TTempFolder out;
  const std::string saved = (out.Path() / "r.vtr").string();

  ASSERT_EQ(RunProgram({dir.Folder(), "-x", "-o", saved, "case", "upper"}, dir.Path()).Exit, 0);
  EXPECT_EQ(RunProgram({"show", saved}, dir.Path()).Out, "a.txt\tA.TXT\t" + dir.Folder() + "\tOk\n");
  const std::string first = out.ReadFile("r.vtr");
  out.WriteFile("keep.vtr", first);
  ASSERT_EQ(RunProgram({dir.Folder(), "-x", "-o", saved, "case", "lower"}, dir.Path()).Exit, 0);
  EXPECT_EQ(RunProgram({"show", saved}, dir.Path()).Out, "A.TXT\ta.txt\t" + dir.Folder() + "\tOk\n");

  // No match anywhere: no rows, and the file is left alone.
  const TRun empty =
      RunProgram({dir.Folder(), "-x", "-o", (out.Path() / "keep.vtr").string(), "replace", "zzz", "y"}, dir.Path());
  EXPECT_EQ(empty.Exit, 0);
  EXPECT_NE(empty.Err.find("nothing was saved"), std::string::npos) << empty.Err;
  EXPECT_EQ(out.ReadFile("keep.vtr"), first);
}

TEST(CliEndToEnd, BadResultFilesAreReportedWithStatusTwoAndNothingOnDiskChanges) {
  TTempFolder dir;
  dir.WriteFile("a.txt", "data");
  dir.WriteFile("garbage.vtr", "this is a text file\n");
  // A file that starts well and then stops: the rows read so far must not be undone.
  dir.WriteFile("truncated.vtr", std::string("TPF0\x09TListView\x08ListView\x04Le", 26));
  const std::set<std::string> before = dir.Names();

  for (const char* file : {"garbage.vtr", "truncated.vtr"}) {
    for (const char* command : {"show", "recover"}) {
      const TRun run = RunProgram({command, file}, dir.Path());
      EXPECT_EQ(run.Exit, 2) << command << " " << file;
      EXPECT_EQ(run.Out, "");
      EXPECT_EQ(run.Err, "veltrane-cli: " + kNotAResultFile + "\n");
    }
  }
  const TRun missing = RunProgram({"recover", "missing.vtr"}, dir.Path());
  EXPECT_EQ(missing.Exit, 2);
  EXPECT_EQ(missing.Err, "veltrane-cli: Cannot open file missing.vtr.\n");
  EXPECT_EQ(dir.Names(), before);
  EXPECT_EQ(dir.ReadFile("a.txt"), "data");
}

TEST(CliEndToEnd, RecoverWhoseSaveCannotBeMadeRenamesNothingAndTheFileStillUndoes) {
  TTempFolder dir;
  dir.WriteFile("a.txt");
  const std::string saved = (dir.Path() / "r.vtr").string();
  ASSERT_EQ(RunProgram({dir.Folder(), "-x", "-o", saved, "-m", "*.txt", "insert", "1"}, dir.Path()).Exit, 0);
  ASSERT_EQ(dir.Names(), (std::set<std::string>{"a1.txt", "r.vtr"}));
  // The save would go to a folder that does not exist: refused before any rename.
  const TRun run = RunProgram({"recover", saved, "-o", (dir.Path() / "no/such/x.vtr").string()}, dir.Path());
  EXPECT_EQ(run.Exit, 2);
  EXPECT_NE(run.Err.find("cannot create"), std::string::npos) << run.Err;
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"a1.txt", "r.vtr"}));

  EXPECT_EQ(RunProgram({"recover", saved}, dir.Path()).Exit, 0);
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"a.txt", "r.vtr"}));
}

}  // namespace
}  // namespace vt::test
