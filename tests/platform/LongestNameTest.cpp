// The longest name below a folder, which tells whether any new name of a pass
// can pass what the volume takes: the walk must reach every folder a pass
// walks, and no other.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/LongestName.h"
#include "support/TempFolder.h"

namespace vt::test {
namespace {

TEST(LongestName, CountsTheFoldersAPassWalks) {
  const TTempFolder tree;
  tree.WriteFile("short.txt");
  std::string top(44, 'f');
  tree.WriteFile(top.replace(40, 4, ".txt"));             // 44, the longest file at the top
  tree.WriteFile("sub/deeper/" + std::string(120, 'd'));  // 120, two folders down
  tree.MakeFolder(std::string(60, 's'));                  // 60, a folder's own name
  const TTempFolder outside;
  outside.WriteFile(std::string(200, 'o'));
  std::filesystem::create_directory_symlink(outside.Path(), tree.Path() / "link");  // never entered
  struct Case {
    std::string Folder;
    TSubFolders Sub;
    std::optional<std::size_t> Longest;
  };
  const Case cases[] = {
      {tree.Path().string(), TSubFolders::Skip, 60},     {tree.Folder(), TSubFolders::Include, 120},
      {tree.File("sub/deeper"), TSubFolders::Skip, 120}, {tree.File("missing"), TSubFolders::Include, 0},
      {outside.Folder(), TSubFolders::Skip, 200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Folder);
    EXPECT_EQ(LongestNameBelow(c.Folder, c.Sub), c.Longest);
  }
}

TEST(LongestName, AStopEndsTheWalkWithoutAnAnswer) {
  const TTempFolder tree;
  for (int i = 0; i < 5000; ++i) tree.WriteFile("f" + std::to_string(i));  // past one poll of the stop
  int asked = 0;
  EXPECT_EQ(LongestNameBelow(tree.Folder(), TSubFolders::Include, [&] { return ++asked > 0; }), std::nullopt);
  EXPECT_GT(asked, 0);
  EXPECT_EQ(LongestNameBelow(tree.Folder(), TSubFolders::Include, [] { return false; }), 5U);
}

}  // namespace
}  // namespace vt::test
