#include <gtest/gtest.h>

#include "platform/MountTable.h"

namespace vt {
namespace {

TEST(MountTable, ParsesFieldsAroundOptionalOnes) {
  const auto entries = ParseMountInfo(
      "36 35 98:0 /mnt1 /mnt/a rw,noatime master:1 shared:7 - ext3 /dev/root rw,errors=continue\n"
      "22 27 0:21 / /proc rw,relatime - proc proc rw\n");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].Major, 98u);
  EXPECT_EQ(entries[0].Minor, 0u);
  EXPECT_EQ(entries[0].MountPoint, "/mnt/a");
  EXPECT_EQ(entries[0].FsType, "ext3");
  EXPECT_EQ(entries[0].Source, "/dev/root");
  EXPECT_EQ(entries[1].MountPoint, "/proc");
  EXPECT_EQ(entries[1].FsType, "proc");
}

TEST(MountTable, DecodesOctalEscapes) {
  const auto entries = ParseMountInfo("40 1 8:17 / /media/ann/My\\040Stick\\134x rw - vfat /dev/sd\\011b1 rw\n");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].MountPoint, "/media/ann/My Stick\\x");
  EXPECT_EQ(entries[0].Source, "/dev/sd\tb1");
}

TEST(MountTable, KeepsABackslashThatIsNoEscape) {
  const auto entries = ParseMountInfo("40 1 0:50 / /mnt/a\\9b rw - cifs //srv/\\04 rw\n");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].MountPoint, "/mnt/a\\9b");
  EXPECT_EQ(entries[0].Source, "//srv/\\04");
}

TEST(MountTable, SkipsLinesOfAnotherShape) {
  const auto entries = ParseMountInfo(
      "\n"
      "garbage\n"
      "1 2 8:1 / /ok rw - ext4 /dev/sda1 rw\n"
      "1 2 x:1 / /baddevice rw - ext4 /dev/sda1 rw\n"
      "1 2 8:1 / relative rw - ext4 /dev/sda1 rw\n"
      "1 2 8:1 / /nodash rw ext4 /dev/sda1 rw\n"
      "1 2 8:1 / /nosource rw - ext4\n"
      "1 2 8:2 / /last rw - ext4 /dev/sda2");  // no final newline
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].MountPoint, "/ok");
  EXPECT_EQ(entries[1].MountPoint, "/last");
}

TEST(MountTable, TestTableReplacesTheSystemsUntilReset) {
  SetMountTableForTesting("1 0 8:1 / /only rw - ext4 /dev/sda1 rw\n");
  const auto ours = ReadMountTable();
  ASSERT_EQ(ours.size(), 1u);
  EXPECT_EQ(ours[0].MountPoint, "/only");
  SetMountTableForTesting(std::nullopt);
  const auto system = ReadMountTable();
  ASSERT_FALSE(system.empty());
  bool hasRoot = false;
  for (const auto& entry : system) hasRoot = hasRoot || entry.MountPoint == "/";
  EXPECT_TRUE(hasRoot);
}

}  // namespace
}  // namespace vt
