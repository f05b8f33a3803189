#include <gtest/gtest.h>

#include <QApplication>

#include "BrowseTestSupport.h"
#include "browse/FileListBox.h"
#include "browse/FilterDirectoryListBox.h"

namespace vt {
namespace {

// <tmp>/Data/Text holds text files in both cases, others, a hidden file and a folder.
class FileList : public ::testing::Test {
 protected:
  FileList() {
    for (const char* name : {"b.txt", "A.TXT", "c.doc", "Read me", ".hidden.txt", "../up.txt", "../Up.doc"})
      Tree_.File("Data/Text/" + std::string(name));
    Tree_.Dir("Data/Text/folder.txt");
    std::filesystem::current_path(Text_);
  }

  test::TFolderGuard Guard_;
  test::TTempTree Tree_;
  std::string Text_ = Tree_.Dir("Data/Text");
  test::TErrorRecorder Errors_;
};

TEST_F(FileList, StartsInTheProcesssFolderWithEveryFileAndFillsWhenShown) {
  TFileListBox files;
  EXPECT_EQ(files.Folder(), Text_);
  EXPECT_EQ(files.Mask(), "*.*");
  EXPECT_EQ(files.FileType(), FileTypeBit(TFileAttr::ftNormal));
  files.SetMask("*.txt");
  EXPECT_EQ(files.count(), 0);  // nothing is read before the list comes up
  files.SetMask("*.*");
  files.show();
  // Sorted without case; the hidden file and the folder left out.
  EXPECT_EQ(files.Names(), QStringList({"A.TXT", "b.txt", "c.doc", "Read me"}));
}

TEST_F(FileList, EachMaskIsListedSoANameTwoMasksSelectComesTwice) {
  TFileListBox files;
  files.show();
  files.SetMask("*.txt;*.TXT");
  EXPECT_EQ(files.Names(), QStringList({"A.TXT", "A.TXT", "b.txt", "b.txt"}));
  files.SetMask("*.doc;;nothing*;b*");
  EXPECT_EQ(files.Names(), QStringList({"b.txt", "c.doc"}));
}

TEST_F(FileList, AMaskWithAFolderPartListsThatFolder) {
  TFileListBox files;
  files.show();
  files.SetMask("../*.*");
  EXPECT_EQ(files.Names(), QStringList({"Up.doc", "up.txt"}));
  EXPECT_EQ(files.Folder(), Text_);
}

TEST_F(FileList, AnEmptyMaskEmptiesTheList) {
  TFileListBox files;
  files.show();
  ASSERT_GT(files.count(), 0);
  files.SetMask("");
  EXPECT_EQ(files.count(), 0);
}

TEST_F(FileList, TheSameMaskIsNotReadAgainButACaseChangeIs) {
  TFileListBox files;
  files.show();
  files.SetMask("*.txt");
  Tree_.File("Data/Text/new.txt");
  files.SetMask("*.txt");
  EXPECT_EQ(files.Names(), QStringList({"A.TXT", "b.txt"}));
  files.SetMask("*.TXT");
  EXPECT_EQ(files.Names(), QStringList({"A.TXT", "b.txt", "new.txt"}));
  // A pass ends with an empty mask and then the mask again, so the list is read anew.
  Tree_.File("Data/Text/newer.txt");
  files.SetMask("");
  files.SetMask("*.TXT");
  EXPECT_EQ(files.Names(), QStringList({"A.TXT", "b.txt", "new.txt", "newer.txt"}));
}

TEST_F(FileList, FoldersAndHiddenFilesAppearOnlyWhenAskedFor) {
  TFileListBox files;
  files.show();
  files.SetMask("*.txt");
  files.SetFileType(FileTypeBit(TFileAttr::ftNormal) | FileTypeBit(TFileAttr::ftDirectory));
  EXPECT_EQ(files.Names(), QStringList({"[folder.txt]", "A.TXT", "b.txt"}));
  files.SetFileType(FileTypeBit(TFileAttr::ftHidden));
  EXPECT_EQ(files.Names(), QStringList({".hidden.txt"}));
}

TEST_F(FileList, ReadOnlyAloneListsOnlyFilesWithoutWriteBits) {
  const std::string locked = Tree_.File("Data/Text/locked.txt");
  std::filesystem::permissions(locked, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  TFileListBox files;
  files.show();
  files.SetFileType(FileTypeBit(TFileAttr::ftReadOnly));
  EXPECT_EQ(files.Names(), QStringList({"locked.txt"}));
  files.SetFileType(FileTypeBit(TFileAttr::ftReadOnly) | FileTypeBit(TFileAttr::ftNormal));
  EXPECT_EQ(files.Names(), QStringList({"A.TXT", "b.txt", "c.doc", "locked.txt", "Read me"}));
}

TEST_F(FileList, FollowsTheFolderListAndMakesTheFolderCurrent) {
  Tree_.File("Data/Text/Sub/inner.txt");
  TFilterDirectoryListBox dirs;
  TFileListBox files;
  dirs.SetFileList(&files);
  dirs.show();
  files.show();
  dirs.SetFolder("Sub");
  EXPECT_EQ(files.Folder(), Text_ + "/Sub");
  EXPECT_EQ(files.Names(), QStringList({"inner.txt"}));
  EXPECT_EQ(test::CurrentPath(), Text_ + "/Sub");
}

TEST_F(FileList, FoldersDifferingOnlyInCaseAreTwoFolders) {
  Tree_.File("Data/Text/Case/upper.txt");
  Tree_.File("Data/Text/case/lower.txt");
  TFileListBox files;
  files.show();
  files.SetFolder(Text_ + "/Case");
  files.SetFolder(Text_ + "/case");
  EXPECT_EQ(files.Names(), QStringList({"lower.txt"}));
}

TEST_F(FileList, AFolderGoneKeepsTheNamesAndReportsEachChange) {
  const std::string gone = Tree_.Dir("Data/Text/Gone");
  Tree_.File("Data/Text/Gone/kept.txt");
  TFileListBox files;
  files.show();
  files.SetFolder(gone);
  std::filesystem::remove_all(gone);
  files.SetMask("*.txt");
  files.SetMask("*.doc");
  EXPECT_EQ(Errors_.Errors(), QStringList({"File not found", "File not found"}));
  EXPECT_EQ(files.Names(), QStringList({"kept.txt"}));
  // A folder that exists can still be taken.
  files.SetFolder(Text_);
  EXPECT_EQ(files.Names(), QStringList({"c.doc"}));
  EXPECT_EQ(Errors_.Errors().size(), 2);
}

TEST_F(FileList, AMissingFolderIsReportedAndTheListStays) {
  TFileListBox files;
  files.show();
  const QStringList names = files.Names();
  files.SetFolder(Text_ + "/missing");
  EXPECT_EQ(Errors_.Errors(), QStringList({"File not found"}));
  EXPECT_EQ(files.Folder(), Text_);
  EXPECT_EQ(files.Names(), names);
}

TEST_F(FileList, ALongFillRestoresTheCursorItChanged) {
  const std::string many = Tree_.Dir("Many");
  for (int i = 0; i < 150; ++i) Tree_.File("Many/f" + std::to_string(i));
  TFileListBox files;
  files.show();
  files.SetFolder(many);
  EXPECT_EQ(files.count(), 150);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(FileList, RowsAreAtLeastTheirSetHeightAndNeverLowerThanTheFont) {
  TFileListBox files;
  files.show();
  ASSERT_GT(files.count(), 0);
  const int font = files.fontMetrics().height();
  EXPECT_EQ(files.visualRect(files.model()->index(0, 0)).height(), std::max(13, font));
  files.SetItemHeight(font + 7);
  EXPECT_EQ(files.visualRect(files.model()->index(0, 0)).height(), font + 7);
}

}  // namespace
}  // namespace vt
