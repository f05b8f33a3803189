#include <gtest/gtest.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>

#include "VolumeTestSupport.h"
#include "platform/MountTable.h"
#include "platform/Volumes.h"

namespace vt {
namespace {

using test::MountLine;
using test::TScopedMountTable;
using test::TVolumeTempDir;

TMountEntry Mount(const std::string& mountPoint, const std::string& type, const std::string& source, unsigned major = 0,
                  unsigned minor = 0) {
  return TMountEntry{major, minor, mountPoint, type, source};
}

class VolumeKinds : public ::testing::Test {
 protected:
  // An empty device tree: no removable flags, no labels.
  TVolumeTempDir Devices_;
  TScopedMountTable Table_{"", Devices_.Path()};
};

TEST_F(VolumeKinds, FollowTheFileSystemAndWhereItIsMounted) {
  const struct {
    TMountEntry mount;
    VolumeKind kind;
  } cases[] = {
      {Mount("/", "ext4", "/dev/sda1", 8, 1), VolumeKind::Fixed},
      {Mount("/home", "btrfs", "/dev/sda2", 0, 35), VolumeKind::Fixed},
      {Mount("/", "overlay", "overlay", 0, 40), VolumeKind::Fixed},
      {Mount("/pool", "zfs", "tank/data"), VolumeKind::Fixed},
      {Mount("/mnt/cd", "iso9660", "/dev/sr0", 11, 0), VolumeKind::CDROM},
      {Mount("/mnt/dvd", "udf", "/dev/sr1", 11, 1), VolumeKind::CDROM},
      {Mount("/media/cd", "iso9660", "/dev/sr0", 11, 0), VolumeKind::CDROM},
      {Mount("/net/a", "nfs", "host:/export"), VolumeKind::Network},
      {Mount("/net/b", "nfs4", "host:/"), VolumeKind::Network},
      {Mount("/net/c", "cifs", "//server/share"), VolumeKind::Network},
      {Mount("/net/d", "smb3", "//server/share"), VolumeKind::Network},
      {Mount("/net/e", "ceph", "10.0.0.1:/"), VolumeKind::Network},
      {Mount("/net/f", "glusterfs", "host:/vol"), VolumeKind::Network},
      {Mount("/net/g", "9p", "share"), VolumeKind::Network},
      {Mount("/net/h", "fuse.sshfs", "ann@host:/home/ann"), VolumeKind::Network},
      {Mount("/tmp", "tmpfs", "tmpfs"), VolumeKind::RAM},
      {Mount("/dev/shm", "tmpfs", "tmpfs"), VolumeKind::Unknown},
      {Mount("/scratch", "ramfs", "ramfs"), VolumeKind::RAM},
      {Mount("/run", "tmpfs", "tmpfs"), VolumeKind::Unknown},
      {Mount("/run/user/1000", "tmpfs", "tmpfs"), VolumeKind::Unknown},
      {Mount("/sys/fs/cgroup", "tmpfs", "tmpfs"), VolumeKind::Unknown},
      {Mount("/proc/acpi", "tmpfs", "tmpfs"), VolumeKind::Unknown},
      {Mount("/dev", "tmpfs", "tmpfs"), VolumeKind::Unknown},
      {Mount("/runner", "tmpfs", "tmpfs"), VolumeKind::RAM},  // only a whole "/run" component counts
      {Mount("/media/usb", "vfat", "/dev/sdb1", 8, 17), VolumeKind::Removable},
      {Mount("/run/media/ann/STICK", "exfat", "/dev/sdc1", 8, 33), VolumeKind::Removable},
      {Mount("/mediathek", "ext4", "/dev/sdd1", 8, 49), VolumeKind::Fixed},
      {Mount("/proc", "proc", "proc"), VolumeKind::Unknown},
      {Mount("/sys", "sysfs", "sysfs"), VolumeKind::Unknown},
      {Mount("/dev", "devtmpfs", "devtmpfs"), VolumeKind::Unknown},
      {Mount("/dev/pts", "devpts", "devpts"), VolumeKind::Unknown},
      {Mount("/sys/fs/cgroup", "cgroup2", "cgroup2"), VolumeKind::Unknown},
      {Mount("/dev/mqueue", "mqueue", "mqueue"), VolumeKind::Unknown},
      {Mount("/sys/kernel/debug", "debugfs", "debugfs"), VolumeKind::Unknown},
      {Mount("/proc/sys/fs/binfmt_misc", "autofs", "systemd-1"), VolumeKind::Unknown},
      {Mount("/run/user/1000/gvfs", "fuse.gvfsd-fuse", "gvfsd-fuse"), VolumeKind::Unknown},
      {Mount("/mnt/weird", "fuse.something", "something"), VolumeKind::Unknown},
      {Mount("/mnt/win", "ntfs3", "/dev/sda3", 8, 3), VolumeKind::Fixed},
      {Mount("/mnt/win2", "fuseblk", "/dev/sda4", 8, 4), VolumeKind::Fixed},
      {Mount("/data", "xfs", "/dev/sdb1", 8, 17), VolumeKind::Fixed},
      {Mount("/net/i", "smbfs", "//server/share"), VolumeKind::Network},
      {Mount("/net/j", "fuse.rclone", "drive:"), VolumeKind::Network},
      {Mount("/snap/core22/1380", "squashfs", "/dev/loop3", 7, 3), VolumeKind::Unknown},
      {Mount("/var/lib/docker/overlay2/abc/merged", "overlay", "overlay", 0, 60), VolumeKind::Unknown},
      {Mount("/var/lib/containers/storage/overlay/x/merged", "overlay", "overlay", 0, 61), VolumeKind::Unknown},
      {Mount("/sys/kernel/tracing", "tracefs", "tracefs"), VolumeKind::Unknown},
      {Mount("/sys/fs/pstore", "pstore", "pstore"), VolumeKind::Unknown},
      {Mount("/sys/fs/bpf", "bpf", "bpf"), VolumeKind::Unknown},
      {Mount("/dev/hugepages", "hugetlbfs", "hugetlbfs"), VolumeKind::Unknown},
      {Mount("/sys/kernel/config", "configfs", "configfs"), VolumeKind::Unknown},
      {Mount("/sys/fs/fuse/connections", "fusectl", "fusectl"), VolumeKind::Unknown},
      {Mount("/sys/kernel/security", "securityfs", "securityfs"), VolumeKind::Unknown},
  };
  for (const auto& c : cases)
    EXPECT_EQ(int(KindOfMount(c.mount)), int(c.kind)) << c.mount.MountPoint << " " << c.mount.FsType;
}

TEST(VolumeRemovable, ReadsTheDisksFlagForAPartition) {
  TVolumeTempDir devices;
  devices.MakeFile("sys/block/sdb/removable", "1\n");
  devices.MakeFile("sys/block/sdb/sdb1/partition", "1\n");
  devices.MakeFile("sys/block/sda/removable", "0\n");
  devices.MakeFile("sys/block/sda/sda1/partition", "1\n");
  devices.MakeFile("sys/block/sdc/removable", "1\n");  // a whole disk without partitions
  devices.MakeLink("../../block/sdb/sdb1", "sys/dev/block/8:17");
  devices.MakeLink("../../block/sda/sda1", "sys/dev/block/8:1");
  devices.MakeLink("../../block/sdc", "sys/dev/block/8:32");
  TScopedMountTable table("", devices.Path());
  EXPECT_EQ(KindOfMount(Mount("/mnt/stick", "vfat", "/dev/sdb1", 8, 17)), VolumeKind::Removable);
  EXPECT_EQ(KindOfMount(Mount("/", "ext4", "/dev/sda1", 8, 1)), VolumeKind::Fixed);
  EXPECT_EQ(KindOfMount(Mount("/mnt/disk", "ext4", "/dev/sdc", 8, 32)), VolumeKind::Removable);
  // A device the tree does not know is fixed.
  EXPECT_EQ(KindOfMount(Mount("/mnt/other", "ext4", "/dev/sde1", 8, 65)), VolumeKind::Fixed);
}

TEST(VolumeList, ListsVolumesOnlyInRootOrderAndTheLaterOfTwoMountsOnOneRoot) {
  TVolumeTempDir devices;
  const std::string table =
      MountLine(1, "8:1", "/", "ext4", "/dev/sda1") + MountLine(2, "0:5", "/proc", "proc", "proc") +
      MountLine(3, "0:40", "/srv/b", "nfs", "host:/b") + MountLine(4, "0:41", "/srv/a", "tmpfs", "tmpfs") +
      MountLine(5, "11:0", "/srv/a", "iso9660", "/dev/sr0") + MountLine(6, "0:6", "/run", "tmpfs", "tmpfs");
  TScopedMountTable scoped(table, devices.Path());
  const auto volumes = ListVolumes();
  ASSERT_EQ(volumes.size(), 3u);
  EXPECT_EQ(volumes[0].Root, "/");
  EXPECT_EQ(volumes[0].Kind, VolumeKind::Fixed);
  EXPECT_EQ(volumes[1].Root, "/srv/a");
  EXPECT_EQ(volumes[1].Kind, VolumeKind::CDROM);
  EXPECT_EQ(volumes[2].Root, "/srv/b");
  EXPECT_EQ(NetworkName(volumes[2]), "host:/b");
}

// tmpfs is a RAM disk of the user's only where the user may write.
TEST(VolumeList, ListsATmpfsOnlyWhenItCanBeWrittenTo) {
  TVolumeTempDir devices;
  const std::string writable = devices.MakeDir("scratch");
  const std::string locked = devices.MakeDir("locked");
  std::filesystem::permissions(locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  TScopedMountTable scoped(MountLine(1, "8:1", "/", "ext4", "/dev/sda1") +
                               MountLine(2, "0:41", writable, "tmpfs", "tmpfs") +
                               MountLine(3, "0:42", locked, "tmpfs", "tmpfs"),
                           devices.Path());
  const auto volumes = ListVolumes();
  std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
  std::vector<std::string> roots;
  for (const auto& volume : volumes) roots.push_back(volume.Root);
  // root may write anywhere: then the locked one is listed too.
  if (::geteuid() == 0) GTEST_SKIP() << "root writes everywhere";
  EXPECT_EQ(roots, (std::vector<std::string>{"/", writable}));
}

TEST(VolumeList, LeavesOutAFileMountedOverAFile) {
  TVolumeTempDir devices;
  const std::string file = devices.MakeFile("hosts");
  TScopedMountTable scoped(
      MountLine(1, "8:1", "/", "ext4", "/dev/sda1") + MountLine(2, "8:1", file, "ext4", "/dev/sda1"), devices.Path());
  const auto volumes = ListVolumes();
  ASSERT_EQ(volumes.size(), 1u);
  EXPECT_EQ(volumes[0].Root, "/");
}

TEST(VolumeOf, FindsTheLongestMountAtAComponentBoundary) {
  TVolumeTempDir devices;
  const std::string table = MountLine(1, "8:1", "/", "ext4", "/dev/sda1") +
                            MountLine(2, "8:2", "/home", "ext4", "/dev/sda2") +
                            MountLine(3, "0:5", "/proc", "proc", "proc");
  TScopedMountTable scoped(table, devices.Path());
  EXPECT_EQ(MountRootOf("/home/ann/Text"), "/home");
  EXPECT_EQ(MountRootOf("/home"), "/home");
  EXPECT_EQ(MountRootOf("/homework"), "/");
  EXPECT_EQ(MountRootOf("/proc/1"), "/proc");
  ASSERT_TRUE(VolumeOf("/homework/x").has_value());
  EXPECT_EQ(VolumeOf("/homework/x")->Root, "/");
  EXPECT_EQ(VolumeOf("/home/ann")->Root, "/home");
  EXPECT_FALSE(VolumeOf("/proc/1").has_value());
}

TEST(VolumeLabel, ComesFromTheByLabelLinkOfTheSourceDevice) {
  TVolumeTempDir devices;
  devices.MakeFile("dev/sda1");
  devices.MakeFile("dev/sdb1");
  devices.MakeLink("../../sda1", "dev/disk/by-label/Data\\x20Disk");
  devices.MakeLink("../../sdz9", "dev/disk/by-label/Gone");
  const std::string table = MountLine(1, "8:1", "/", "ext4", "/dev/sda1") +
                            MountLine(2, "8:17", "/mnt/b", "ext4", "/dev/sdb1") +
                            MountLine(3, "0:30", "/tmp", "tmpfs", "tmpfs");
  TScopedMountTable scoped(table, devices.Path());
  const auto volumes = ListVolumes();
  ASSERT_EQ(volumes.size(), 3u);
  EXPECT_EQ(VolumeLabel(volumes[0]), "Data Disk");
  EXPECT_EQ(VolumeLabel(volumes[1]), "");
  EXPECT_EQ(VolumeLabel(volumes[2]), "");
}

TEST(VolumeCase, FatAndSmbVolumesIgnoreCaseEverythingElseHonoursIt) {
  for (const char* type : {"vfat", "exfat", "cifs", "smb3"}) {
    EXPECT_TRUE(CaseFlagsOf(type).PreservesCase) << type;
    EXPECT_FALSE(CaseFlagsOf(type).CaseSensitive) << type;
  }
  for (const char* type : {"ext4", "btrfs", "tmpfs", "nfs", "iso9660", "overlay"}) {
    EXPECT_TRUE(CaseFlagsOf(type).PreservesCase) << type;
    EXPECT_TRUE(CaseFlagsOf(type).CaseSensitive) << type;
  }
  TVolumeTempDir devices;
  TScopedMountTable scoped(
      MountLine(1, "8:1", "/", "ext4", "/dev/sda1") + MountLine(2, "8:17", "/media/usb", "vfat", "/dev/sdb1"),
      devices.Path());
  EXPECT_FALSE(CaseFlagsOfPath("/media/usb/DCIM").CaseSensitive);
  EXPECT_TRUE(CaseFlagsOfPath("/media/usbx").CaseSensitive);
}

// The names a volume refuses follow its type in the mount table, looked up by device.
TEST(Volumes, NameRulesFollowTheMountedType) {
  struct Case {
    const char* FsType;
    TNameRules Rules;
  };
  const Case cases[] = {
      {"vfat", TNameRules::Windows},    {"exfat", TNameRules::Windows},    {"ntfs3", TNameRules::Windows},
      {"fuseblk", TNameRules::Windows}, {"cifs", TNameRules::Windows},     {"smb3", TNameRules::Windows},
      {"ext4", TNameRules::Linux},      {"btrfs", TNameRules::Linux},      {"xfs", TNameRules::Linux},
      {"tmpfs", TNameRules::Linux},     {"fuse.sshfs", TNameRules::Linux},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.FsType);
    EXPECT_EQ(NameRulesOf(c.FsType), c.Rules);
    SetMountTableForTesting(std::string("36 25 8:17 / /media/card rw - ") + c.FsType + " /dev/sdb1 rw\n");
    EXPECT_EQ(NameRulesOfDevice(makedev(8, 17)), c.Rules);
    EXPECT_EQ(NameRulesOfDevice(makedev(8, 18)), TNameRules::Linux);  // no mount of its own
  }
  SetMountTableForTesting(std::nullopt);
}

// A rename goes by the listing's inode number only where readdir gives st_ino;
// every other volume, and a device the table does not hold, gets a look.
TEST(Volumes, OnlyLocalVolumesListTheirInodeNumbers) {
  const std::pair<const char*, bool> cases[] = {{"ext4", true},     {"tmpfs", true},    {"btrfs", true},
                                                {"overlay", false}, {"fuseblk", false}, {"fuse.sshfs", false},
                                                {"nfs4", false},    {"vfat", false}};
  for (const auto& [type, lists] : cases) {
    SCOPED_TRACE(type);
    SetMountTableForTesting(std::string("36 25 8:17 / /media/card rw - ") + type + " /dev/sdb1 rw\n");
    EXPECT_EQ(NatureOfDevice(makedev(8, 17)).ListsInodeNumbers, lists);
    EXPECT_FALSE(NatureOfDevice(makedev(8, 18)).ListsInodeNumbers);  // no mount of its own
  }
  SetMountTableForTesting(std::nullopt);
}

}  // namespace
}  // namespace vt
