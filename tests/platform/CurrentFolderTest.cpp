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
  TCurrentFolderGuard guard_;
  TVolumeTempDir tree_;
  std::string volA_ = tree_.MakeDir("volA");
  std::string volB_ = tree_.MakeDir("volB");
  TScopedMountTable table_{MountLine(1, "8:1", "/", "ext4", "/dev/sda1") +
                               MountLine(2, "8:2", volA_, "ext4", "/dev/sda2") +
                               MountLine(3, "8:3", volB_, "ext4", "/dev/sda3"),
                           tree_.Path()};
};

TEST_F(CurrentFolder, SetAndGetTheProcesssFolder) {
  const std::string deep = tree_.MakeDir("volA/x/y");
  ASSERT_EQ(SetCurrentFolder(deep), 0);
  EXPECT_EQ(GetCurrentFolder(), deep);
  EXPECT_EQ(std::filesystem::current_path().string(), deep);
}

TEST_F(CurrentFolder, FailuresGiveTheErrnoAndLeaveTheFolder) {
  ASSERT_EQ(SetCurrentFolder(volA_), 0);
  EXPECT_EQ(SetCurrentFolder(tree_ / "missing"), ENOENT);
  EXPECT_EQ(SetCurrentFolder(tree_.MakeFile("plain")), ENOTDIR);
  EXPECT_EQ(SetCurrentFolder(""), ENOENT);
  EXPECT_EQ(GetCurrentFolder(), volA_);
}

TEST_F(CurrentFolder, EachVolumeRemembersTheLastFolderMadeCurrentOnIt) {
  const std::string inA = tree_.MakeDir("volA/Data/Text");
  const std::string inB = tree_.MakeDir("volB/Music");
  ASSERT_EQ(SetCurrentFolder(inA), 0);
  ASSERT_EQ(SetCurrentFolder(inB), 0);
  EXPECT_EQ(LastFolderOnVolume(volA_), inA);
  ASSERT_EQ(SetCurrentVolume(volA_), 0);
  EXPECT_EQ(GetCurrentFolder(), inA);
  ASSERT_EQ(SetCurrentVolume(volB_), 0);
  EXPECT_EQ(GetCurrentFolder(), inB);
}

TEST_F(CurrentFolder, AVolumeNotVisitedYetStartsAtItsRoot) {
  const std::string other = tree_.MakeDir("volC");
  EXPECT_EQ(LastFolderOnVolume(other), other);
  TScopedMountTable table(MountLine(1, "8:1", "/", "ext4", "/dev/sda1") + MountLine(4, "8:4", other, "ext4", "/dev/sda4"),
                          tree_.Path());
  ASSERT_EQ(SetCurrentVolume(other), 0);
  EXPECT_EQ(GetCurrentFolder(), other);
}

TEST_F(CurrentFolder, ARemovedLastFolderFallsBackToItsNearestFolderLeft) {
  const std::string deep = tree_.MakeDir("volA/Data/Text/Old");
  ASSERT_EQ(SetCurrentFolder(deep), 0);
  ASSERT_EQ(SetCurrentFolder(volB_), 0);
  std::filesystem::remove_all(tree_ / "volA/Data/Text");
  ASSERT_EQ(SetCurrentVolume(volA_), 0);
  EXPECT_EQ(GetCurrentFolder(), tree_ / "volA/Data");
}

TEST_F(CurrentFolder, AVolumeWhoseRootIsGoneFails) {
  ASSERT_EQ(SetCurrentFolder(volB_), 0);
  EXPECT_EQ(SetCurrentVolume(tree_ / "never-mounted"), ENOENT);
  EXPECT_EQ(GetCurrentFolder(), volB_);
}

}  // namespace
}  // namespace vt
