#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "FsTempFolder.h"
#include "platform/FolderRenamer.h"

namespace vt {
namespace {

TEST(FileExists, OnlyForRegularFiles) {
  test::TFsTempFolder dir;
  dir.Write("file");
  dir.MakeFolder("folder");
  ASSERT_EQ(::symlink("file", (dir / "link-to-file").c_str()), 0);
  ASSERT_EQ(::symlink("folder", (dir / "link-to-folder").c_str()), 0);
  ASSERT_EQ(::symlink("nowhere", (dir / "dangling").c_str()), 0);
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  EXPECT_TRUE(FileExists(dir / "file"));
  EXPECT_FALSE(FileExists(dir / "link-to-file"));
  EXPECT_FALSE(FileExists(dir / "link-to-folder"));
  EXPECT_FALSE(FileExists(dir / "dangling"));
  EXPECT_FALSE(FileExists(dir / "fifo"));
  EXPECT_FALSE(FileExists(dir / "folder"));
  EXPECT_FALSE(FileExists(dir / "missing"));
  EXPECT_FALSE(FileExists(dir / "file/below"));
}

}  // namespace
}  // namespace vt
