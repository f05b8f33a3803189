#include <gtest/gtest.h>

#include "BrowseTestSupport.h"
#include "browse/DriveItemDelegate.h"
#include "browse/FileListBox.h"
#include "browse/FilterDirectoryListBox.h"
#include "browse/FilterDriveComboBox.h"
#include "browse/Glyphs.h"

namespace vt {
namespace {

using test::Mount;

constexpr TIncludeDriveType kMainWindowTypes = IncludeBit(TIncludeType::itFloppy) | IncludeBit(TIncludeType::itFixed) |
                                               IncludeBit(TIncludeType::itNetwork) | IncludeBit(TIncludeType::itRAM);

QStringList Texts(const QComboBox& box) {
  QStringList texts;
  for (int i = 0; i < box.count(); ++i) texts << box.itemText(i);
  return texts;
}

void Choose(TFilterDriveComboBox& box, const std::string& root) {
  for (int i = 0; i < box.count(); ++i)
    if (box.ItemRoot(i) == root) {
      box.setCurrentIndex(i);
      emit box.activated(i);
      return;
    }
  FAIL() << "no item for " << root;
}

// A machine of our own: roots that do not exist besides "/", /dev/shm (the
// system's shared memory, never listed) and /var/tmp (a RAM disk the user may
// write to, listed).
class DriveBox : public ::testing::Test {
 protected:
  DriveBox() {
    Devices_.File("dev/sda1");
    std::filesystem::create_symlink("../../sda1", Devices_.Dir("dev/disk/by-label") + "/Root\\x20Disk");
    std::filesystem::current_path(Work_);
  }

  test::TFolderGuard Guard_;
  test::TTempTree Devices_;
  std::string Work_ = Devices_.Dir("work");
  test::TScopedMounts Mounts_{
      Mount(1, "8:1", "/", "ext4", "/dev/sda1") + Mount(2, "0:5", "/proc", "proc", "proc") +
          Mount(3, "0:6", "/sys", "sysfs", "sysfs") + Mount(4, "0:30", "/run", "tmpfs", "tmpfs") +
          Mount(5, "0:31", "/dev/shm", "tmpfs", "tmpfs") + Mount(6, "0:40", "/mnt/vt-share", "cifs", "//Server/Share") +
          Mount(7, "11:0", "/media/cd", "iso9660", "/dev/sr0") + Mount(8, "8:17", "/media/usb", "vfat", "/dev/sdb1") +
          Mount(9, "0:41", "/srv/vt-nfs", "nfs4", "Host:/Export") + Mount(10, "0:50", "/var/tmp", "ramfs", "ramfs"),
      Devices_.Path()};
  test::TErrorRecorder Errors_;
};

TEST_F(DriveBox, ListsTheMainWindowsKindsInRootOrderWithTheirTextsAndGlyphs) {
  TFilterDriveComboBox box;
  box.SetIncludeDriveType(kMainWindowTypes);
  EXPECT_EQ(box.count(), 0);  // filled when the box comes up
  EXPECT_EQ(box.Drive(), "/");
  box.show();
  EXPECT_EQ(Texts(box), QStringList({"/ [root disk]", "/media/usb", "/mnt/vt-share //server/share",
                                     "/srv/vt-nfs host:/export", "/var/tmp []"}));
  const TGlyph glyphs[] = {TGlyph::Hard, TGlyph::Floppy, TGlyph::Network, TGlyph::Network, TGlyph::Ram};
  for (int i = 0; i < box.count(); ++i) EXPECT_EQ(box.itemData(i, kGlyphRole).toInt(), int(glyphs[i])) << i;
  EXPECT_EQ(box.currentIndex(), 0);
  const auto bit = [](TDriveType t) { return std::uint8_t(1u << unsigned(t)); };
  EXPECT_EQ(box.DriveTypesPresent(),
            bit(TDriveType::dtFloppy) | bit(TDriveType::dtFixed) | bit(TDriveType::dtNetwork) | bit(TDriveType::dtRAM));
  EXPECT_TRUE(Errors_.Errors().isEmpty());
}

TEST_F(DriveBox, AnEmptySetListsEveryKind) {
  TFilterDriveComboBox box;
  box.show();
  EXPECT_EQ(Texts(box), QStringList({"/ [root disk]", "/media/cd []", "/media/usb", "/mnt/vt-share //server/share",
                                     "/srv/vt-nfs host:/export", "/var/tmp []"}));
  EXPECT_EQ(box.itemData(1, kGlyphRole).toInt(), int(TGlyph::Cdrom));
}

TEST_F(DriveBox, UpperCaseTouchesLabelsAndNetworkNamesButNeverRoots) {
  TFilterDriveComboBox box;
  box.show();
  box.SetTextCase(TTextCase::tcUpperCase);
  EXPECT_EQ(Texts(box), QStringList({"/ [ROOT DISK]", "/media/cd []", "/media/usb", "/mnt/vt-share //SERVER/SHARE",
                                     "/srv/vt-nfs HOST:/EXPORT", "/var/tmp []"}));
  EXPECT_EQ(box.currentIndex(), 0);
  EXPECT_EQ(box.Drive(), "/");
}

TEST_F(DriveBox, ANewSetTakesEffectAtTheNextFill) {
  TFilterDriveComboBox box;
  box.SetIncludeDriveType(IncludeBit(TIncludeType::itCDROM));
  box.show();
  EXPECT_EQ(Texts(box), QStringList({"/media/cd []"}));
  EXPECT_EQ(box.currentIndex(), -1);  // the folder's volume is not listed
  box.SetIncludeDriveType(IncludeBit(TIncludeType::itRAM));
  EXPECT_EQ(Texts(box), QStringList({"/media/cd []"}));
  box.SetTextCase(TTextCase::tcLowerCase);
  EXPECT_EQ(Texts(box), QStringList({"/var/tmp []"}));
}

TEST_F(DriveBox, ChoosingTheSelectedVolumeDoesNothing) {
  TFilterDriveComboBox box;
  TFilterDirectoryListBox dirs;
  box.SetDirList(&dirs);
  dirs.show();
  box.show();
  test::TSignalCount driveChanged(&box, &TFilterDriveComboBox::DriveChanged);
  test::TSignalCount folderChanged(&dirs, &TFilterDirectoryListBox::FolderChanged);
  const int items = dirs.count();
  Choose(box, "/");
  EXPECT_EQ(driveChanged.count(), 0);
  EXPECT_EQ(folderChanged.count(), 0);
  EXPECT_EQ(dirs.Directory(), Work_);
  EXPECT_EQ(dirs.count(), items);
  EXPECT_TRUE(Errors_.Errors().isEmpty());
}

TEST_F(DriveBox, AFailedChangeKeepsTheListsReportsTheErrorAndThePreviousVolumeStillWorks) {
  TFilterDriveComboBox box;
  TFilterDirectoryListBox dirs;
  TFileListBox files;
  test::TTempTree tree;
  box.SetDirList(&dirs);
  dirs.SetFileList(&files);
  box.show();
  dirs.show();
  files.show();
  const std::string before = dirs.Directory();
  const int dirItems = dirs.count();
  ASSERT_TRUE(test::Filled(files));
  const QStringList names = files.Names();
  test::TSignalCount driveChanged(&box, &TFilterDriveComboBox::DriveChanged);
  test::TSignalCount folderChanged(&dirs, &TFilterDirectoryListBox::FolderChanged);

  Choose(box, "/srv/vt-nfs");
  EXPECT_EQ(Errors_.Errors(), QStringList({"File not found"}));
  EXPECT_EQ(box.Drive(), "/srv/vt-nfs");
  EXPECT_EQ(box.currentText(), "/srv/vt-nfs host:/export");
  EXPECT_EQ(driveChanged.count(), 0);
  EXPECT_EQ(folderChanged.count(), 0);
  EXPECT_EQ(dirs.Directory(), before);
  EXPECT_EQ(dirs.count(), dirItems);
  EXPECT_EQ(files.Folder(), before);
  EXPECT_FALSE(files.FillPending());
  EXPECT_EQ(files.Names(), names);
  EXPECT_EQ(test::CurrentPath(), before);

  Choose(box, "/");
  EXPECT_EQ(Errors_.Errors().size(), 1);
  EXPECT_EQ(box.Drive(), "/");
  EXPECT_EQ(driveChanged.count(), 1);
  EXPECT_EQ(dirs.Directory(), before);
}

TEST_F(DriveBox, DriveTypeSelectedMovesOnlyTheBoxesDrive) {
  TFilterDriveComboBox box;
  TFilterDirectoryListBox dirs;
  box.SetDirList(&dirs);
  // Before the first fill no volume is known.
  box.SetDriveTypeSelected(TDriveType::dtNetwork);
  EXPECT_EQ(box.Drive(), "/");
  box.show();
  dirs.show();
  box.SetDriveTypeSelected(TDriveType::dtUnknown);
  EXPECT_EQ(box.Drive(), "/");
  box.SetDriveTypeSelected(TDriveType::dtRAM);
  EXPECT_EQ(box.Drive(), "/var/tmp");
  EXPECT_EQ(box.currentIndex(), 0);
  EXPECT_EQ(dirs.Directory(), Work_);
  EXPECT_EQ(box.FindDriveOfType(TDriveType::dtNetwork), "/srv/vt-nfs");
  EXPECT_EQ(box.FindDriveOfType(TDriveType::dtCDROM), "/media/cd");
  EXPECT_EQ(box.FindDriveOfType(TDriveType::dtNoDrive), "");
}

TEST_F(DriveBox, DrawsTheGlyphOfTheSelectedVolume) {
  TFilterDriveComboBox box;
  box.resize(179, 24);
  box.show();
  const QImage face = box.grab().toImage();
  bool led = false;  // the hard disk's green lamp
  for (int y = 0; y < face.height() && !led; ++y)
    for (int x = 0; x < face.width() && !led; ++x) led = face.pixel(x, y) == qRgb(0, 255, 0);
  EXPECT_TRUE(led);
}

TEST_F(DriveBox, LinkingIsMutualAndUnlinkedWhenTheFolderListGoes) {
  TFilterDriveComboBox box;
  auto dirs = std::make_unique<TFilterDirectoryListBox>();
  box.SetDirList(dirs.get());
  EXPECT_EQ(dirs->DriveBox(), &box);
  box.SetDirList(nullptr);
  EXPECT_EQ(dirs->DriveBox(), nullptr);
  box.SetDirList(dirs.get());
  dirs.reset();
  EXPECT_EQ(box.DirList(), nullptr);
}

// Volumes whose roots are real folders, so that changing between them works.
class DriveBoxOnRealRoots : public ::testing::Test {
 protected:
  DriveBoxOnRealRoots() { std::filesystem::current_path(DataA_); }

  test::TFolderGuard Guard_;
  test::TTempTree Tree_;
  std::string VolA_ = Tree_.Dir("volA");
  std::string VolB_ = Tree_.Dir("volB");
  std::string Cd_ = Tree_.Dir("cd");
  std::string DataA_ = Tree_.Dir("volA/Data");
  std::string MusicB_ = Tree_.Dir("volB/Music");
  test::TScopedMounts Mounts_{Mount(1, "8:1", "/", "ext4", "/dev/sda1") + Mount(2, "8:33", VolA_, "ext4", "/dev/sdc1") +
                                  Mount(3, "0:44", VolB_, "tmpfs", "tmpfs") +
                                  Mount(4, "11:0", Cd_, "iso9660", "/dev/sr0"),
                              Tree_.Path()};
  test::TErrorRecorder Errors_;
};

TEST_F(DriveBoxOnRealRoots, ChoosingAVolumeMovesBothListsAndComesBackToTheLastFolder) {
  TFilterDriveComboBox box;
  TFilterDirectoryListBox dirs;
  TFileListBox files;
  box.SetIncludeDriveType(kMainWindowTypes);
  box.SetDirList(&dirs);
  dirs.SetFileList(&files);
  box.show();
  dirs.show();
  files.show();
  EXPECT_EQ(box.Drive(), VolA_);
  EXPECT_EQ(box.currentText(), QString::fromStdString(VolA_ + " []"));
  test::TSignalCount driveChanged(&box, &TFilterDriveComboBox::DriveChanged);

  Choose(box, VolB_);
  EXPECT_EQ(driveChanged.count(), 1);
  EXPECT_EQ(dirs.Directory(), VolB_);
  EXPECT_EQ(files.Folder(), VolB_);
  EXPECT_EQ(test::CurrentPath(), VolB_);

  dirs.SetFolder("Music");
  ASSERT_EQ(dirs.Directory(), MusicB_);
  Choose(box, VolA_);
  EXPECT_EQ(dirs.Directory(), DataA_);
  Choose(box, VolB_);
  EXPECT_EQ(dirs.Directory(), MusicB_);
  EXPECT_TRUE(Errors_.Errors().isEmpty());
}

TEST_F(DriveBoxOnRealRoots, AFolderChosenOnAnotherVolumeMovesTheBox) {
  TFilterDriveComboBox box;
  TFilterDirectoryListBox dirs;
  box.SetIncludeDriveType(kMainWindowTypes);
  box.SetDirList(&dirs);
  box.show();
  dirs.show();
  test::TSignalCount driveChanged(&box, &TFilterDriveComboBox::DriveChanged);
  dirs.SetFolder(MusicB_);
  EXPECT_EQ(dirs.Directory(), MusicB_);
  EXPECT_EQ(box.Drive(), VolB_);
  EXPECT_EQ(box.currentText(), QString::fromStdString(VolB_ + " []"));
  EXPECT_EQ(driveChanged.count(), 1);
  // Onto a volume that is not listed: the box's drive follows, its selection has nothing to go to.
  const int selected = box.currentIndex();
  dirs.SetFolder(Cd_);
  EXPECT_EQ(box.Drive(), Cd_);
  EXPECT_EQ(box.currentIndex(), selected);
  EXPECT_EQ(dirs.Directory(), Cd_);
}

TEST_F(DriveBoxOnRealRoots, AStartFolderOnAKindNotListedLeavesNoItemSelected) {
  std::filesystem::current_path(Cd_);
  TFilterDriveComboBox box;
  TFilterDirectoryListBox dirs;
  box.SetIncludeDriveType(kMainWindowTypes);
  box.SetDirList(&dirs);
  box.show();
  dirs.show();
  EXPECT_EQ(box.Drive(), Cd_);
  EXPECT_EQ(box.currentIndex(), -1);
  EXPECT_EQ(dirs.Directory(), Cd_);
}

}  // namespace
}  // namespace vt
