#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "VolumeTestSupport.h"
#include "platform/CurrentFolder.h"

namespace vt {
namespace {

using test::MountLine;
using test::TCurrentFolderGuard;
using test::TScopedMountTable;
using test::TVolumeTempDir;

class CurrentFolder : public ::testing::Test {
 protected:
  TCurrentFolderGuard Guard_;
  TVolumeTempDir Tree_;
  std::string VolA_ = Tree_.MakeDir("volA");
  std::string VolB_ = Tree_.MakeDir("volB");
  TScopedMountTable Table_{MountLine(1, "8:1", "/", "ext4", "/dev/sda1") +
                               MountLine(2, "8:2", VolA_, "ext4", "/dev/sda2") +
                               MountLine(3, "8:3", VolB_, "ext4", "/dev/sda3"),
                           Tree_.Path()};
};

TEST_F(CurrentFolder, SetAndGetTheProcesssFolder) {
  const std::string deep = Tree_.MakeDir("volA/x/y");
  ASSERT_EQ(SetCurrentFolder(deep), 0);
  EXPECT_EQ(GetCurrentFolder(), deep);
  EXPECT_EQ(std::filesystem::current_path().string(), deep);
}

TEST_F(CurrentFolder, FailuresGiveTheErrnoAndLeaveTheFolder) {
  ASSERT_EQ(SetCurrentFolder(VolA_), 0);
  EXPECT_EQ(SetCurrentFolder(Tree_ / "missing"), ENOENT);
  EXPECT_EQ(SetCurrentFolder(Tree_.MakeFile("plain")), ENOTDIR);
  EXPECT_EQ(SetCurrentFolder(""), ENOENT);
  EXPECT_EQ(GetCurrentFolder(), VolA_);
}

TEST_F(CurrentFolder, EachVolumeRemembersTheLastFolderMadeCurrentOnIt) {
  const std::string inA = Tree_.MakeDir("volA/Data/Text");
  const std::string inB = Tree_.MakeDir("volB/Music");
  ASSERT_EQ(SetCurrentFolder(inA), 0);
  ASSERT_EQ(SetCurrentFolder(inB), 0);
  EXPECT_EQ(LastFolderOnVolume(VolA_), inA);
  ASSERT_EQ(SetCurrentVolume(VolA_), 0);
  EXPECT_EQ(GetCurrentFolder(), inA);
  ASSERT_EQ(SetCurrentVolume(VolB_), 0);
  EXPECT_EQ(GetCurrentFolder(), inB);
}

TEST_F(CurrentFolder, AVolumeNotVisitedYetStartsAtItsRoot) {
  const std::string other = Tree_.MakeDir("volC");
  EXPECT_EQ(LastFolderOnVolume(other), other);
  TScopedMountTable table(
      MountLine(1, "8:1", "/", "ext4", "/dev/sda1") + MountLine(4, "8:4", other, "ext4", "/dev/sda4"), Tree_.Path());
  ASSERT_EQ(SetCurrentVolume(other), 0);
  EXPECT_EQ(GetCurrentFolder(), other);
}

TEST_F(CurrentFolder, ARemovedLastFolderFallsBackToItsNearestFolderLeft) {
  const std::string deep = Tree_.MakeDir("volA/Data/Text/Old");
  ASSERT_EQ(SetCurrentFolder(deep), 0);
  ASSERT_EQ(SetCurrentFolder(VolB_), 0);
  std::filesystem::remove_all(Tree_ / "volA/Data/Text");
  ASSERT_EQ(SetCurrentVolume(VolA_), 0);
  EXPECT_EQ(GetCurrentFolder(), Tree_ / "volA/Data");
}

TEST_F(CurrentFolder, AVolumeWhoseRootIsGoneFails) {
  ASSERT_EQ(SetCurrentFolder(VolB_), 0);
  EXPECT_EQ(SetCurrentVolume(Tree_ / "never-mounted"), ENOENT);
  EXPECT_EQ(GetCurrentFolder(), VolB_);
}

}  // namespace
}  // namespace vt
