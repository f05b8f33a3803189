#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <functional>
#include <memory>
#include <utility>

#include "BrowseTestSupport.h"
#include "browse/FileListBox.h"
#include "browse/FileListing.h"
#include "browse/FilterDirectoryListBox.h"
#include "support/InodeFlags.h"

namespace vt {
namespace {

using test::Filled;

// <tmp>/Data/Text holds text files in both cases, others, a hidden file and a folder.
class FileList : public ::testing::Test {
 protected:
  FileList() {
    for (const char* name : {"b.txt", "A.TXT", "c.doc", "Read me", ".hidden.txt", "../up.txt", "../Up.doc"})
      Tree_.File("Data/Text/" + std::string(name));
    Tree_.Dir("Data/Text/folder.txt");
    std::filesystem::current_path(Text_);
  }

  // A folder of count files, enough that reading it takes the worker a while.
  std::string Many(const std::string& name, int count) const {
    const std::string folder = Tree_.Dir(name);
    for (int i = 0; i < count; ++i) std::ofstream(folder + "/f" + std::to_string(i));
    return folder;
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
  EXPECT_FALSE(files.FillPending());  // nothing is read before the list comes up
  files.SetMask("*.*");
  QSignalSpy started(&files, &TFileListBox::FillStarted);
  QSignalSpy changed(&files, &TFileListBox::FileListChanged);
  files.show();
  EXPECT_EQ(started.count(), 1);
  ASSERT_TRUE(changed.wait());
  // Sorted without case; the hidden file and the folder left out; all in one change.
  EXPECT_EQ(files.Names(), QStringList({"A.TXT", "b.txt", "c.doc", "Read me"}));
  EXPECT_EQ(changed.count(), 1);
  EXPECT_FALSE(files.FillPending());
}

TEST_F(FileList, EachMaskIsListedSoANameTwoMasksSelectComesTwice) {
  TFileListBox files;
  files.show();
  files.SetMask("*.txt;*.TXT");
  ASSERT_TRUE(Filled(files));
  EXPECT_EQ(files.Names(), QStringList({"A.TXT", "A.TXT", "b.txt", "b.txt"}));
  files.SetMask("*.doc;;nothing*;b*");
  ASSERT_TRUE(Filled(files));
  EXPECT_EQ(files.Names(), QStringList({"b.txt", "c.doc"}));
}

TEST_F(FileList, AMaskWithAFolderPartListsThatFolder) {
  TFileListBox files;
  files.show();
  files.SetMask("../*.*");
  ASSERT_TRUE(Filled(files));
  EXPECT_EQ(files.Names(), QStringList({"Up.doc", "up.txt"}));
  EXPECT_EQ(files.Folder(), Text_);
}

TEST_F(FileList, AnEmptyMaskEmptiesTheList) {
  TFileListBox files;
  files.show();
  ASSERT_TRUE(Filled(files));
  ASSERT_GT(files.count(), 0);
  files.SetMask("");
  ASSERT_TRUE(Filled(files));
  EXPECT_EQ(files.count(), 0);
}

TEST_F(FileList, TheSameMaskIsNotReadAgainButACaseChangeIs) {
  TFileListBox files;
  files.show();
  files.SetMask("*.txt");
  ASSERT_TRUE(Filled(files));
  Tree_.File("Data/Text/new.txt");
  files.SetMask("*.txt");
  EXPECT_FALSE(files.FillPending());
  EXPECT_EQ(files.Names(), QStringList({"A.TXT", "b.txt"}));
  files.SetMask("*.TXT");
  ASSERT_TRUE(Filled(files));
  EXPECT_EQ(files.Names(), QStringList({"A.TXT", "b.txt", "new.txt"}));
  // A pass ends with an empty mask and then the mask again, so the list is read
  // anew; the empty list in between is never shown.
  Tree_.File("Data/Text/newer.txt");
  QSignalSpy changed(&files, &TFileListBox::FileListChanged);
  files.SetMask("");
  files.SetMask("*.TXT");
  ASSERT_TRUE(Filled(files));
  EXPECT_EQ(files.Names(), QStringList({"A.TXT", "b.txt", "new.txt", "newer.txt"}));
  EXPECT_EQ(changed.count(), 1);
}

TEST_F(FileList, FoldersAndHiddenFilesAppearOnlyWhenAskedFor) {
  TFileListBox files;
  files.show();
  files.SetMask("*.txt");
  files.SetFileType(FileTypeBit(TFileAttr::ftNormal) | FileTypeBit(TFileAttr::ftDirectory));
  ASSERT_TRUE(Filled(files));
  EXPECT_EQ(files.Names(), QStringList({"[folder.txt]", "A.TXT", "b.txt"}));
  files.SetFileType(FileTypeBit(TFileAttr::ftHidden));
  ASSERT_TRUE(Filled(files));
  EXPECT_EQ(files.Names(), QStringList({".hidden.txt"}));
}

// Read-only is the immutable or append-only flag; a file without write bits is
// an ordinary file.
TEST_F(FileList, ReadOnlyAloneListsOnlyImmutableFiles) {
  const std::string locked = Tree_.File("Data/Text/locked.txt");
  test::TInodeFlag flag;
  const std::string why = flag.Set(locked, FS_IMMUTABLE_FL);
  if (!why.empty()) GTEST_SKIP() << why;
  const std::string photo = Tree_.File("Data/Text/photo.txt");
  std::filesystem::permissions(photo, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  TFileListBox files;
  files.show();
  files.SetFileType(FileTypeBit(TFileAttr::ftReadOnly));
  ASSERT_TRUE(Filled(files));
  EXPECT_EQ(files.Names(), QStringList({"locked.txt"}));
  files.SetFileType(FileTypeBit(TFileAttr::ftReadOnly) | FileTypeBit(TFileAttr::ftNormal));
  ASSERT_TRUE(Filled(files));
  EXPECT_EQ(files.Names(), QStringList({"A.TXT", "b.txt", "c.doc", "locked.txt", "photo.txt", "Read me"}));
  // A mask with a folder part, and one with nothing after its last "/".
  files.SetMask("../*.txt;../");
  ASSERT_TRUE(Filled(files));
  EXPECT_EQ(files.Names(), QStringList({"up.txt"}));
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
  EXPECT_EQ(test::CurrentPath(), Text_ + "/Sub");
  ASSERT_TRUE(Filled(files));
  EXPECT_EQ(files.Names(), QStringList({"inner.txt"}));
}

TEST_F(FileList, TheFolderIsReadWhereverTheProcessHasMovedMeanwhile) {
  Tree_.File("Data/Text/Sub/inner.txt");
  TFileListBox files;
  files.show();
  files.SetFolder(Text_ + "/Sub");
  std::filesystem::current_path(Tree_.Path());
  ASSERT_TRUE(Filled(files));
  EXPECT_EQ(files.Names(), QStringList({"inner.txt"}));
}

TEST_F(FileList, FoldersDifferingOnlyInCaseAreTwoFolders) {
  Tree_.File("Data/Text/Case/upper.txt");
  Tree_.File("Data/Text/case/lower.txt");
  TFileListBox files;
  files.show();
  files.SetFolder(Text_ + "/Case");
  files.SetFolder(Text_ + "/case");
  ASSERT_TRUE(Filled(files));
  EXPECT_EQ(files.Names(), QStringList({"lower.txt"}));
}

// The names shown at each change, in order.
class TChanges {
 public:
  explicit TChanges(TFileListBox& files) {
    QObject::connect(&files, &TFileListBox::FileListChanged, &Context_,
                     [this, &files] { Seen_.push_back(files.Names()); });
  }
  const QList<QStringList>& Seen() const { return Seen_; }

 private:
  QObject Context_;
  QList<QStringList> Seen_;
};

TEST_F(FileList, ANewerFolderSupersedesAnOlderOneStillBeingRead) {
  const std::string big = Many("Big", 10000);
  TFileListBox files;
  files.show();
  ASSERT_TRUE(Filled(files));
  const QStringList before = files.Names();
  TChanges changes(files);
  files.SetFolder(big);
  files.SetFolder(Text_ + "/..");
  // The names shown stay until the newest fill's are in.
  EXPECT_EQ(files.Names(), before);
  EXPECT_TRUE(files.FillPending());
  ASSERT_TRUE(Filled(files));
  // The big folder's names never came up, not even for a moment.
  ASSERT_EQ(changes.Seen().size(), 1) << "first shown: " << changes.Seen().front().size() << " names";
  EXPECT_EQ(changes.Seen().front(), QStringList({"Up.doc", "up.txt"}));
  // Back to the big folder: read whole this time.
  files.SetFolder(big);
  ASSERT_TRUE(Filled(files));
  EXPECT_EQ(files.count(), 10000);
  EXPECT_EQ(changes.Seen().size(), 2);
}

// Calls act once, as the first queued call reaches the list (before it runs).
class TOnFirstQueuedCall : public QObject {
 public:
  TOnFirstQueuedCall(TFileListBox& files, std::function<void()> act) : Act_(std::move(act)) {
    files.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::MetaCall && Act_) std::exchange(Act_, nullptr)();
    return false;
  }

 private:
  std::function<void()> Act_;
};

TEST_F(FileList, NamesAlreadyOnTheirWayWhenANewerFillStartsAreDropped) {
  Tree_.File("Data/Text/Sub/inner.txt");
  TFileListBox files;
  files.show();
  ASSERT_TRUE(Filled(files));
  TChanges changes(files);
  // Too few names for the hourglass: the first queued call is the result itself.
  files.SetFolder(Text_ + "/Sub");
  TOnFirstQueuedCall newer(files, [&] { files.SetFolder(Text_ + "/.."); });
  ASSERT_TRUE(Filled(files));
  ASSERT_EQ(changes.Seen().size(), 1) << "first shown: " << changes.Seen().front().size() << " names";
  EXPECT_EQ(changes.Seen().front(), QStringList({"Up.doc", "up.txt"}));
}

// What the last listing found only sizes its room: a folder that grew, shrank
// or is read by several masks lists the same names whatever was expected.
TEST_F(FileList, TheExpectedCountNeverChangesWhatIsListed) {
  TFileListRequest request;
  request.Patterns = {Text_ + "/*.txt", Text_ + "/*.doc"};
  const auto plain = ListFiles(request, {}, {});
  ASSERT_TRUE(plain.has_value());
  ASSERT_EQ(plain->size(), 3u);
  for (const std::size_t expected : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{1000}}) {
    request.Expected = expected;
    EXPECT_EQ(ListFiles(request, {}, {}), plain) << expected;
  }
}

TEST_F(FileList, ManyQuickChangesShowOnlyTheLast) {
  const std::string big = Many("Big", 5000);
  TFileListBox files;
  files.show();
  TChanges changes(files);
  for (const char* mask : {"*", "f1*", "*.doc", "f2*", "f3*"}) {
    files.SetFolder(big);
    files.SetMask(mask);
    files.SetFolder(Text_);
  }
  files.SetMask("*.txt");
  ASSERT_TRUE(Filled(files));
  ASSERT_EQ(changes.Seen().size(), 1) << "first shown: " << changes.Seen().front().size() << " names";
  EXPECT_EQ(changes.Seen().front(), QStringList({"A.TXT", "b.txt"}));
}

TEST_F(FileList, AListDestroyedWhileItsFolderIsReadEndsCleanly) {
  const std::string big = Many("Big", 10000);
  for (const int changes : {1, 3}) {
    auto files = std::make_unique<TFileListBox>();
    files->show();
    for (int i = 0; i < changes; ++i) files->SetMask(i % 2 ? "f1*" : "*");
    files->SetFolder(big);
    ASSERT_TRUE(files->FillPending());
    files.reset();
    // Whatever the worker had sent dies with the list, and the hourglass goes.
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  }
}

TEST_F(FileList, AFolderGoneKeepsTheNamesAndReportsEachChange) {
  const std::string gone = Tree_.Dir("Data/Text/Gone");
  Tree_.File("Data/Text/Gone/kept.txt");
  TFileListBox files;
  files.show();
  files.SetFolder(gone);
  ASSERT_TRUE(Filled(files));
  std::filesystem::remove_all(gone);
  files.SetMask("*.txt");
  files.SetMask("*.doc");
  // Reported at once, on the window's thread, and nothing is read.
  EXPECT_EQ(Errors_.Errors(), QStringList({"File not found", "File not found"}));
  EXPECT_FALSE(files.FillPending());
  EXPECT_EQ(files.Names(), QStringList({"kept.txt"}));
  // A folder that exists can still be taken.
  files.SetFolder(Text_);
  ASSERT_TRUE(Filled(files));
  EXPECT_EQ(files.Names(), QStringList({"c.doc"}));
  EXPECT_EQ(Errors_.Errors().size(), 2);
}

TEST_F(FileList, AMissingFolderIsReportedAndTheListStays) {
  TFileListBox files;
  files.show();
  ASSERT_TRUE(Filled(files));
  const QStringList names = files.Names();
  ASSERT_FALSE(names.isEmpty());
  QSignalSpy started(&files, &TFileListBox::FillStarted);
  files.SetFolder(Text_ + "/missing");
  EXPECT_EQ(Errors_.Errors(), QStringList({"File not found"}));
  EXPECT_EQ(started.count(), 0);
  EXPECT_EQ(files.Folder(), Text_);
  EXPECT_FALSE(files.FillPending());
  EXPECT_EQ(files.Names(), names);
}

TEST_F(FileList, AMissingFolderDuringAFillLetsThatFillLand) {
  const std::string big = Many("Big", 3000);
  TFileListBox files;
  files.show();
  files.SetFolder(big);
  files.SetFolder(Text_ + "/missing");
  EXPECT_EQ(Errors_.Errors(), QStringList({"File not found"}));
  ASSERT_TRUE(Filled(files));
  EXPECT_EQ(files.Folder(), big);
  EXPECT_EQ(files.count(), 3000);
}

TEST_F(FileList, ALongFillRestoresTheCursorItChanged) {
  const std::string many = Many("Many", 150);
  TFileListBox files;
  files.show();
  files.SetFolder(many);
  ASSERT_TRUE(Filled(files));
  EXPECT_EQ(files.count(), 150);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(FileList, RowsAreAtLeastTheirSetHeightAndNeverLowerThanTheFont) {
  TFileListBox files;
  files.show();
  ASSERT_TRUE(Filled(files));
  ASSERT_GT(files.count(), 0);
  const int font = files.fontMetrics().height();
  EXPECT_EQ(files.visualRect(files.model()->index(0, 0)).height(), std::max(13, font));
  files.SetItemHeight(font + 7);
  EXPECT_EQ(files.visualRect(files.model()->index(0, 0)).height(), font + 7);
}

}  // namespace
}  // namespace vt
