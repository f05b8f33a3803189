// What the command line tells: names that cannot drive a terminal, a summary of
// the rows with the reasons of failures, warnings of a simulation's clashes and
// of masks that matched nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliTestSupport.h"

namespace vt::test {
namespace {

// Any byte a terminal could take as part of a control sequence; "\n" ends lines
// and "\t" parts cells.
bool HasControlBytes(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if ((c < 0x20 && c != '\n' && c != '\t') || c == 0x7f) return true;
    if (c == 0xc2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xa0) return true;
  }
  return false;
}

const std::string kOverride = "\xe2\x80\xae";

TEST(CliTerminal, NoNameReachesATerminalAsAControlSequenceInAnyFormat) {
  TTempFolder dir;
  for (const std::string& name :
       {std::string("\x1b[31mred.txt"),
        std::string("csi\xc2\x9b"
                    "2J.txt"),
        std::string("del\x7f.txt"), "txt." + kOverride + "exe", std::string("bell\a.txt"), std::string("lone\x9b.txt")})
    dir.WriteFile(name);
  for (const char* format : {"table", "tsv", "json"}) {
    SCOPED_TRACE(format);
    TSpawned cli({dir.Folder(), "case", "upper", "-f", format}, dir.Path(), TSpawned::Output::Terminal);
    const std::string shown = cli.ReadAll();
    EXPECT_EQ(cli.Wait(), 0);
    EXPECT_FALSE(HasControlBytes(shown)) << shown;
    EXPECT_NE(shown.find("6 rows: 6 Can be renamed"), std::string::npos) << shown;
    if (std::string(format) == "json") {
      EXPECT_NE(shown.find(R"(\u001b[31mred.txt)"), std::string::npos) << shown;
      EXPECT_NE(shown.find(R"(csi\u009b2J.txt)"), std::string::npos) << shown;
      EXPECT_NE(shown.find(R"(del\u007f.txt)"), std::string::npos) << shown;
    } else {
      EXPECT_NE(shown.find(R"(\x1b[31mred.txt)"), std::string::npos) << shown;
      EXPECT_NE(shown.find(R"(csi\xc2\x9b2J.txt)"), std::string::npos) << shown;
      EXPECT_NE(shown.find(R"(lone\x9b.txt)"), std::string::npos) << shown;
    }
    // Every format disarms the direction controls on a terminal.
    EXPECT_EQ(shown.find(kOverride), std::string::npos) << shown;
    if (std::string(format) == "json") {
      EXPECT_NE(shown.find(R"(txt.\u202eexe)"), std::string::npos) << shown;
    }
  }
}

TEST(CliTerminal, PipedTsvKeepsTheBytesOfNames) {
  TTempFolder dir;
  dir.WriteFile("\x1b[31mred.txt");
  const TRun run = RunProgram({dir.Folder(), "case", "upper"}, dir.Path());
  EXPECT_EQ(run.Out, "\x1b[31mred.txt\t\x1b[31MRED.TXT\t" + dir.Folder() + "\tCan be renamed\n");
  EXPECT_EQ(run.Err, "");  // no summary off a terminal
}

TEST(CliTerminal, SummaryCountsRowsAndGivesTheReasonsOfErrors) {
  TTempFolder dir;
  dir.WriteFile("a1.txt");
  dir.WriteFile("a2.txt");
  dir.WriteFile("c.txt");
  TSpawned cli({"-x", "--no-save", dir.Folder(), "-a", "replace", "a?", "b", "-f", "json"}, dir.Path(),
               TSpawned::Output::Terminal);
  const std::string shown = cli.ReadAll();
  EXPECT_EQ(cli.Wait(), 1);
  EXPECT_NE(shown.find("veltrane-cli: 3 rows: 1 Ok, 1 Error (1 a file of that name exists), 1 No Match"),
            std::string::npos)
      << shown;
  EXPECT_NE(shown.find(R"("Status":"Error","reason":"a file of that name exists"})"), std::string::npos) << shown;
  EXPECT_EQ(shown.find(R"("Status":"Ok","reason")"), std::string::npos) << shown;
}

TEST(CliTerminal, SimulationClashesAreWarnedAndCountedInTheSummary) {
  TTempFolder dir;
  dir.WriteFile("a1.txt");
  dir.WriteFile("a2.txt");
  dir.WriteFile("b.txt");
  const TRun twoToOne = RunProgram({dir.Folder(), "-m", "a*", "replace", "a?", "c"}, dir.Path());
  EXPECT_EQ(twoToOne.Exit, 0) << twoToOne.Err;
  for (const std::string& row : Lines(twoToOne.Out)) EXPECT_NE(row.find("\tCan be renamed"), std::string::npos);
  EXPECT_EQ(twoToOne.Err, "veltrane-cli: warning: 'c.txt' in " + dir.Folder() + " is the new name of 2 rows\n");

  const TRun taken = RunProgram({dir.Folder(), "-m", "a1*", "replace", "a1", "b"}, dir.Path());
  EXPECT_EQ(taken.Err, "veltrane-cli: warning: 'b.txt' in " + dir.Folder() + " exists already\n");

  TSpawned cli({dir.Folder(), "-m", "a*", "replace", "a?", "b"}, dir.Path(), TSpawned::Output::Terminal);
  const std::string shown = cli.ReadAll();
  EXPECT_EQ(cli.Wait(), 0);
  EXPECT_NE(shown.find("'b.txt' in " + dir.Folder() + " exists already and is the new name of 2 rows"),
            std::string::npos)
      << shown;
  EXPECT_NE(shown.find("2 rows: 2 Can be renamed; 2 cannot succeed"), std::string::npos) << shown;
}

TEST(CliTerminal, MasksThatMatchNothingAreNamed) {
  TTempFolder dir;
  dir.WriteFile("a.txt");
  std::filesystem::create_directory(dir.Path() / "photos.jpg");  // a folder is no file
  const TRun run = RunProgram({dir.Folder(), "-m", "*.jpg", "case", "upper"}, dir.Path());
  EXPECT_EQ(run.Exit, 0);
  EXPECT_EQ(run.Err, "veltrane-cli: no file matched *.jpg in " + dir.Folder() + "\n");

  // Files that match but need no change are not "nothing matched".
  const TRun unchanged = RunProgram({dir.Folder(), "-m", "*.txt", "case", "lower"}, dir.Path());
  EXPECT_EQ(unchanged.Err, "");
}

}  // namespace
}  // namespace vt::test
