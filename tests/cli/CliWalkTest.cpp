// How the command line walks folders: the order files are numbered in, and
// folders it cannot read.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "CliTestSupport.h"

namespace vt::test {
namespace {

TEST(CliWalk, NumbersInNameOrderOrNaturalOrder) {
  struct Case {
    std::vector<std::string> Order;
    std::string Zero, One, Two;  // the files that get 0, 1 and 2
  };
  for (const Case& c : {Case{{}, "IMG_10.jpg", "IMG_2.jpg", "img_3.jpg"},
                        Case{{"--order", "name"}, "IMG_10.jpg", "IMG_2.jpg", "img_3.jpg"},
                        Case{{"--order", "natural"}, "IMG_2.jpg", "img_3.jpg", "IMG_10.jpg"}}) {
    TTempFolder dir;
    for (const std::string name : {"IMG_10.jpg", "IMG_2.jpg", "img_3.jpg"}) dir.WriteFile(name, name);
    std::vector<std::string> args{"-x", dir.Folder(), "number"};
    args.insert(args.end(), c.Order.begin(), c.Order.end());
    const TRun run = RunProgram(args, dir.Path());
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(dir.ReadFile("0.jpg"), c.Zero);
    EXPECT_EQ(dir.ReadFile("1.jpg"), c.One);
    EXPECT_EQ(dir.ReadFile("2.jpg"), c.Two);
  }
}

// Permissions bind only users other than root: as root the program runs as
// nobody through setpriv. Empty when that is not possible here.
std::string AsUserPrefix() {
  if (::geteuid() != 0) return " ";
  if (std::system("setpriv --version >/dev/null 2>&1") != 0) return {};
  return " setpriv --reuid=65534 --regid=65534 --clear-groups ";
}

TRun RunAsUser(const std::string& prefix, const std::vector<std::string>& args) {
  return RunProgram(args, "/", {}, prefix);
}

TEST(CliWalk, AFolderThatCannotBeReadIsSaidAndEndsWithStatusOne) {
  const std::string prefix = AsUserPrefix();
  if (prefix.empty()) GTEST_SKIP() << "running as root without setpriv: cannot drop privileges to test permissions";
  TTempFolder dir;
  ::chmod(dir.Path().c_str(), 0755);
  dir.WriteFile("a.txt");
  std::filesystem::create_directory(dir.Path() / "locked");
  dir.WriteFile("locked/b.txt");
  std::filesystem::create_directory(dir.Path() / "open");
  dir.WriteFile("open/c.txt");
  ::chmod((dir.Path() / "locked").c_str(), 0);

  // A sub-folder: the rest of the walk goes on.
  TRun run = RunAsUser(prefix, {"-r", dir.Folder(), "insert", "x"});
  EXPECT_EQ(run.Exit, 1) << run.Err;
  EXPECT_NE(run.Err.find("cannot read " + dir.Folder() + "locked/: Permission denied"), std::string::npos) << run.Err;
  EXPECT_EQ(Lines(run.Out).size(), 2u) << run.Out;  // a.txt and open/c.txt

  // The start folder itself: no rows, never taken for an empty folder.
  const std::string locked = dir.Folder() + "locked/";
  run = RunAsUser(prefix, {locked, "insert", "x"});
  EXPECT_EQ(run.Exit, 1) << run.Err;
  EXPECT_NE(run.Err.find("cannot read " + locked + ": Permission denied"), std::string::npos) << run.Err;
  EXPECT_EQ(run.Err.find("no file matched"), std::string::npos) << run.Err;
  EXPECT_EQ(run.Out, "");

  ::chmod((dir.Path() / "locked").c_str(), 0755);
  run = RunAsUser(prefix, {"-r", dir.Folder(), "insert", "x"});
  EXPECT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Err.find("cannot read"), std::string::npos) << run.Err;
}

}  // namespace
}  // namespace vt::test
