// How the command line walks folders: the order files are numbered in, and
// folders it cannot read.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vt::test
