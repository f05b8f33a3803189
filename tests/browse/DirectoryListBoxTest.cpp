#include <gtest/gtest.h>

#include <QMouseEvent>

#include "BrowseTestSupport.h"
#include "browse/FileListBox.h"
#include "browse/FilterDirectoryListBox.h"
#include "browse/FolderItemDelegate.h"

namespace vt {
namespace {

QStringList Texts(const QListWidget& list) {
  QStringList texts;
  for (int i = 0; i < list.count(); ++i) texts << list.item(i)->text();
  return texts;
}

// The chain from "/" down to a folder: "/", then each piece of its path.
QStringList Chain(const std::string& folder) {
  QStringList chain{"/"};
  chain << QString::fromStdString(folder).split('/', Qt::SkipEmptyParts);
  return chain;
}

// A real tree: <tmp>/Data/Text with sub-folders, a hidden one, a file and a link to a folder.
class FolderList : public ::testing::Test {
 protected:
  FolderList() {
    for (const char* name : {"beta", "Alpha", "gamma", ".hidden", "Zeta/deeper"})
      Tree_.Dir("Data/Text/" + std::string(name));
    Tree_.File("Data/Text/notes.txt");
    std::filesystem::create_symlink(Tree_.Dir("elsewhere"), Text_ + "/linked");
    std::filesystem::current_path(Text_);
  }

  test::TFolderGuard Guard_;
  test::TTempTree Tree_;
  std::string Text_ = Tree_.Dir("Data/Text");
  test::TErrorRecorder Errors_;
};

TEST_F(FolderList, ShowsTheChainThenTheSubFoldersSortedWithoutCase) {
  TFilterDirectoryListBox dirs;
  EXPECT_EQ(dirs.Directory(), Text_);
  dirs.show();
  const QStringList chain = Chain(Text_);
  EXPECT_EQ(Texts(dirs), chain + QStringList({"Alpha", "beta", "gamma", "linked", "Zeta"}));
  const int current = int(chain.size()) - 1;
  EXPECT_EQ(dirs.CurrentFolderIndex(), current);
  EXPECT_EQ(dirs.currentRow(), current);
  for (int i = 0; i < current; ++i) EXPECT_EQ(dirs.ItemGlyph(i), TGlyph::OpenFolder) << i;
  EXPECT_EQ(dirs.ItemGlyph(current), TGlyph::CurrentFolder);
  for (int i = current + 1; i < dirs.count(); ++i) EXPECT_EQ(dirs.ItemGlyph(i), TGlyph::ClosedFolder) << i;
}

TEST_F(FolderList, ItemPathGivesTheFolderEachItemStandsFor) {
  TFilterDirectoryListBox dirs;
  dirs.show();
  const int current = dirs.CurrentFolderIndex();
  EXPECT_EQ(dirs.ItemPath(0), "/");
  std::string above;
  for (int i = 1; i < current; ++i) {
    above += "/" + dirs.item(i)->text().toStdString();
    EXPECT_EQ(dirs.ItemPath(i), above) << i;
  }
  EXPECT_EQ(dirs.ItemPath(current - 1), Tree_ / "Data");
  EXPECT_EQ(dirs.ItemPath(current), Text_);
  EXPECT_EQ(dirs.ItemPath(current + 1), Text_ + "/Alpha");
  EXPECT_EQ(dirs.ItemPath(dirs.count() - 1), Text_ + "/Zeta");
  EXPECT_EQ(dirs.ItemPath(dirs.count()), "");
  EXPECT_EQ(dirs.ItemPath(-1), "");
}

TEST_F(FolderList, AtTheRootTheRootIsTheCurrentFolder) {
  TFilterDirectoryListBox dirs;
  dirs.show();
  dirs.SetFolder("/");
  EXPECT_EQ(dirs.Directory(), "/");
  EXPECT_EQ(dirs.item(0)->text(), "/");
  EXPECT_EQ(dirs.ItemGlyph(0), TGlyph::CurrentFolder);
  EXPECT_EQ(dirs.CurrentFolderIndex(), 0);
  ASSERT_GT(dirs.count(), 1);
  EXPECT_EQ(dirs.ItemGlyph(1), TGlyph::ClosedFolder);
  EXPECT_EQ(dirs.ItemPath(1), "/" + dirs.item(1)->text().toStdString());
  EXPECT_EQ(test::CurrentPath(), "/");
}

TEST_F(FolderList, IndentsFollowTheDepth) {
  TFilterDirectoryListBox dirs;
  dirs.show();
  const auto* delegate = dynamic_cast<TFolderItemDelegate*>(dirs.itemDelegate());
  ASSERT_NE(delegate, nullptr);
  const int slashes = int(std::count(Text_.begin(), Text_.end(), '/'));
  for (int i = 0; i <= dirs.CurrentFolderIndex(); ++i) EXPECT_EQ(delegate->Indent(i), i * 4 + 2);
  EXPECT_EQ(delegate->Indent(dirs.CurrentFolderIndex() + 1), slashes * 4 + 6);
  EXPECT_EQ(delegate->Indent(dirs.CurrentFolderIndex()) + 4, slashes * 4 + 6);
}

TEST_F(FolderList, SetFolderMovesTheListTheFileListAndTheProcess) {
  TFilterDirectoryListBox dirs;
  TFileListBox files;
  dirs.SetFileList(&files);
  dirs.show();
  files.show();
  test::TSignalCount changed(&dirs, &TFilterDirectoryListBox::FolderChanged);
  dirs.SetFolder("Zeta");
  EXPECT_EQ(dirs.Directory(), Text_ + "/Zeta");
  EXPECT_EQ(Texts(dirs), Chain(Text_ + "/Zeta") + QStringList({"deeper"}));
  EXPECT_EQ(files.Folder(), Text_ + "/Zeta");
  EXPECT_EQ(test::CurrentPath(), Text_ + "/Zeta");
  EXPECT_EQ(changed.count(), 1);
  dirs.SetFolder("..");
  EXPECT_EQ(dirs.Directory(), Text_);
  dirs.SetFolder(Text_);  // the same folder: nothing
  EXPECT_EQ(changed.count(), 2);
  EXPECT_TRUE(Errors_.Errors().isEmpty());
}

TEST_F(FolderList, ALinkToAFolderOpensAsTheFolderItPointsTo) {
  TFilterDirectoryListBox dirs;
  dirs.show();
  dirs.SetFolder("linked");
  EXPECT_EQ(dirs.Directory(), Tree_ / "elsewhere");
}

TEST_F(FolderList, SetFolderIntoAMissingFolderKeepsEverything) {
  TFilterDirectoryListBox dirs;
  TFileListBox files;
  dirs.SetFileList(&files);
  dirs.show();
  files.show();
  const QStringList items = Texts(dirs);
  ASSERT_TRUE(test::Filled(files));
  const QStringList names = files.Names();
  const int row = dirs.currentRow();
  test::TSignalCount changed(&dirs, &TFilterDirectoryListBox::FolderChanged);
  dirs.SetFolder(Text_ + "/missing");
  dirs.SetFolder("notes.txt");
  EXPECT_EQ(Errors_.Errors(), QStringList({"File not found", "Invalid filename"}));
  EXPECT_EQ(dirs.Directory(), Text_);
  EXPECT_EQ(Texts(dirs), items);
  EXPECT_EQ(dirs.currentRow(), row);
  EXPECT_EQ(files.Folder(), Text_);
  EXPECT_FALSE(files.FillPending());
  EXPECT_EQ(files.Names(), names);
  EXPECT_EQ(test::CurrentPath(), Text_);
  EXPECT_EQ(changed.count(), 0);
}

TEST_F(FolderList, AFolderThatCannotBeEnteredIsAnAccessError) {
  if (::geteuid() == 0) GTEST_SKIP() << "root enters every folder";
  const std::string locked = Tree_.Dir("Data/Text/locked");
  std::filesystem::permissions(locked, std::filesystem::perms::none);
  TFilterDirectoryListBox dirs;
  dirs.show();
  dirs.SetFolder(locked);
  std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
  EXPECT_EQ(Errors_.Errors(), QStringList({"File access denied"}));
  EXPECT_EQ(dirs.Directory(), Text_);
}

TEST_F(FolderList, EnterAndDoubleClickOpenTheSelectedItem) {
  TFilterDirectoryListBox dirs;
  dirs.resize(303, 300);
  dirs.show();
  dirs.setCurrentRow(dirs.CurrentFolderIndex() + 1);  // Alpha
  test::PressKey(&dirs, Qt::Key_Return);
  EXPECT_EQ(dirs.Directory(), Text_ + "/Alpha");
  const int above = dirs.CurrentFolderIndex() - 1;  // Text
  const QPoint centre = dirs.visualItemRect(dirs.item(above)).center();
  dirs.setCurrentRow(above);
  QMouseEvent click(QEvent::MouseButtonDblClick, centre, dirs.viewport()->mapToGlobal(centre), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(dirs.viewport(), &click);
  EXPECT_EQ(dirs.Directory(), Text_);
}

TEST_F(FolderList, ARemovedCurrentFolderIsReportedWhenLeftForOneOfItsSubFolders) {
  TFilterDirectoryListBox dirs;
  dirs.show();
  dirs.SetFolder("Zeta");
  std::filesystem::remove_all(Text_ + "/Zeta");
  dirs.setCurrentRow(dirs.CurrentFolderIndex() + 1);  // deeper, gone too
  dirs.OpenItemFolder();
  EXPECT_EQ(Errors_.Errors(), QStringList({"File not found"}));
  EXPECT_EQ(dirs.Directory(), Text_ + "/Zeta");
  // Going up still works.
  dirs.SetFolder(Text_);
  EXPECT_EQ(dirs.Directory(), Text_);
}

}  // namespace
}  // namespace vt
