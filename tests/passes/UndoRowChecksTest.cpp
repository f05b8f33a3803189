#include <gtest/gtest.h>

#include <string>

#include "passes/UndoRowChecks.h"

namespace vt {
namespace {

// A path of exactly `size` bytes, absolute, ending with "/".
std::string PathOfSize(std::size_t size) { return "/" + std::string(size - 2, 'd') + "/"; }

TEST(UndoRowChecks, EveryFaultOfAnOkRow) {
  struct Case {
    const char* What;
    std::string Path, NewName, OldName;
    TUndoRowFault Expected;
  };
  const Case cases[] = {
      {"plain row", "/home/u/", "b.txt", "a.txt", TUndoRowFault::None},
      {"root folder", "/", "b.txt", "a.txt", TUndoRowFault::None},
      {"folder without final separator", "/home/u", "b.txt", "a.txt", TUndoRowFault::None},
      {"empty path", "", "b.txt", "a.txt", TUndoRowFault::PathNotAbsolute},
      {"relative path", "home/u/", "b.txt", "a.txt", TUndoRowFault::PathNotAbsolute},
      {"current folder", "./", "b.txt", "a.txt", TUndoRowFault::PathNotAbsolute},
      {"drive letter", "C:\\Data\\", "b.txt", "a.txt", TUndoRowFault::PathNotAbsolute},
      {"NUL inside the path", std::string("/tmp\0/x/", 8), "b.txt", "a.txt", TUndoRowFault::PathNotAbsolute},
      {"251 bytes: no cut leaves that", PathOfSize(251), "b.txt", "a.txt", TUndoRowFault::None},
      {"252 bytes: a four-byte character cut off", PathOfSize(252), "b.txt", "a.txt", TUndoRowFault::PathMayBeCut},
      {"254 bytes", PathOfSize(254), "b.txt", "a.txt", TUndoRowFault::PathMayBeCut},
      {"255 bytes: the limit itself", PathOfSize(255), "b.txt", "a.txt", TUndoRowFault::PathMayBeCut},
      {"256 bytes: never went through a file", PathOfSize(256), "b.txt", "a.txt", TUndoRowFault::None},
      {"empty new name", "/u/", "", "a.txt", TUndoRowFault::NameLeavesFolder},
      {"empty old name", "/u/", "b.txt", "", TUndoRowFault::NameLeavesFolder},
      {"dot", "/u/", ".", "a.txt", TUndoRowFault::NameLeavesFolder},
      {"dot dot", "/u/", "b.txt", "..", TUndoRowFault::NameLeavesFolder},
      {"climbing name", "/u/", "b.txt", "../a.txt", TUndoRowFault::NameLeavesFolder},
      {"name with a folder part", "/u/", "sub/b.txt", "a.txt", TUndoRowFault::NameLeavesFolder},
      {"NUL in a name", "/u/", std::string("b\0c", 3), "a.txt", TUndoRowFault::NameLeavesFolder},
      {"a new name a pass made hidden", "/u/", ".profile", "x.profile", TUndoRowFault::None},
      {"back to a hidden name", "/u/", "y.txt", ".bashrc", TUndoRowFault::HiddenName},
      {"back to a name of dots", "/u/", ".b", "..a", TUndoRowFault::HiddenName},
  };
  for (const Case& c : cases) EXPECT_EQ(CheckUndoRow(c.Path, c.NewName, c.OldName), c.Expected) << c.What;
}

}  // namespace
}  // namespace vt
