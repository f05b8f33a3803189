#include <unistd.h>

#include <gtest/gtest.h>

#include "FsTempFolder.h"
#include "platform/FolderRenamer.h"

namespace vt {
namespace {

TEST(FileExists, OnlyForEntriesThatAreNoFolder) {
  test::TFsTempFolder dir;
  dir.Write("file");
  dir.MakeFolder("folder");
  ASSERT_EQ(::symlink("folder", (dir / "link-to-folder").c_str()), 0);
  ASSERT_EQ(::symlink("nowhere", (dir / "dangling").c_str()), 0);
  EXPECT_TRUE(FileExists(dir / "file"));
  EXPECT_TRUE(FileExists(dir / "link-to-folder"));
  EXPECT_TRUE(FileExists(dir / "dangling"));
  EXPECT_FALSE(FileExists(dir / "folder"));
  EXPECT_FALSE(FileExists(dir / "missing"));
  EXPECT_FALSE(FileExists(dir / "file/below"));
}

}  // namespace
}  // namespace vt
