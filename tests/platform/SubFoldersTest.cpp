#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

#include "VolumeTestSupport.h"
#include "platform/SubFolders.h"

namespace vt {
namespace {

TEST(SubFolders, ListsFoldersAndLinksToFoldersButNoHiddenOnesFilesOrBrokenLinks) {
  test::TVolumeTempDir dir;
  for (const char* name : {"Alpha", "beta", ".hidden"}) dir.MakeDir("top/" + std::string(name));
  dir.MakeFile("top/file");
  dir.MakeDir("elsewhere");
  dir.MakeLink("../elsewhere", "top/linked");
  dir.MakeLink("file", "top/filelink");
  dir.MakeLink("nowhere", "top/broken");
  std::vector<std::string> names{"stale"};
  ASSERT_EQ(ListSubFolders(dir / "top", names), 0);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "linked"}));
}

TEST(SubFolders, AMissingFolderGivesItsError) {
  test::TVolumeTempDir dir;
  std::vector<std::string> names;
  EXPECT_EQ(ListSubFolders(dir / "missing", names), ENOENT);
  EXPECT_EQ(ListSubFolders(dir.MakeFile("plain"), names), ENOTDIR);
  EXPECT_TRUE(names.empty());
}

}  // namespace
}  // namespace vt
