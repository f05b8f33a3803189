// What a rename moves is what was looked at; what it reports is what happened.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <set>
#include <string>

#include "FakeVolume.h"
#include "FsTempFolder.h"
#include "platform/FolderHandle.h"
#include "platform/FolderRenamer.h"

namespace vt {
namespace {

using test::TFakeVolume;
using test::TFsTempFolder;

enum class TKind { Folder, Fifo, Link, OtherFile };

void MakeEntry(int dirFd, const char* name, TKind kind) {
  switch (kind) {
    case TKind::Folder: ASSERT_EQ(::mkdirat(dirFd, name, 0755), 0); break;
    case TKind::Fifo: ASSERT_EQ(::mkfifoat(dirFd, name, 0644), 0); break;
    case TKind::Link: ASSERT_EQ(::symlinkat("/etc/passwd", dirFd, name), 0); break;
    case TKind::OtherFile: {
      const int fd = ::openat(dirFd, name, O_CREAT | O_EXCL | O_WRONLY, 0644);
      ASSERT_GE(fd, 0);
      ::close(fd);
      break;
    }
  }
}

struct TKindCase {
  const char* what;
  TKind kind;
};
constexpr TKindCase kKinds[] = {
    {"folder", TKind::Folder}, {"FIFO", TKind::Fifo}, {"link", TKind::Link}, {"another file", TKind::OtherFile}};

bool IsRegular(const TFsTempFolder& dir, const std::string& name) {
  struct stat st {};
  return ::lstat((dir / name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

TEST(CheckedRename, MovesNothingButARegularFile) {
  for (const TKindCase& c : kKinds) {
    if (c.kind == TKind::OtherFile) continue;
    SCOPED_TRACE(c.what);
    TFsTempFolder dir;
    TFolderHandle folder;
    ASSERT_EQ(TFolderHandle::Open(dir.Path(), folder), 0);
    MakeEntry(folder.Fd(), "entry", c.kind);
    TFolderRenamer renamer;
    EXPECT_EQ(renamer.Rename(folder, "entry", "moved"), kNotAFile);
    EXPECT_TRUE(dir.Exists("entry"));
    EXPECT_FALSE(dir.Exists("moved"));
  }
}

// A racing process swaps the file for something else between the look and the move.
TEST(CheckedRename, AnEntrySwappedInBeforeTheMoveIsPutBack) {
  for (const auto& traits : {test::kExt4, test::kNtfs3g, test::kVfat, test::kSshfs}) {
    for (const TKindCase& c : kKinds) {
      SCOPED_TRACE(std::string(traits.name) + ", " + c.what);
      TFsTempFolder dir;
      dir.Write("file.txt", "mine");
      TFakeVolume volume(traits);
      bool swapped = false;
      volume.beforeMove = [&](int dirFd, const char* from, const char*) {
        if (swapped || std::string(from) != "file.txt") return;
        swapped = true;
        ASSERT_EQ(::renameat(dirFd, "file.txt", dirFd, "kept.txt"), 0);
        MakeEntry(dirFd, "file.txt", c.kind);
      };
      TFolderRenamer renamer(volume);
      // (a volume without links moves what it finds in one step, others link it first)
      const int error = renamer.Rename(dir.Path(), "file.txt", "new.txt");
      EXPECT_NE(error, 0);
      EXPECT_FALSE(dir.Exists("new.txt"));
      EXPECT_TRUE(dir.Exists("file.txt"));
      EXPECT_EQ(IsRegular(dir, "file.txt"), c.kind == TKind::OtherFile);
      EXPECT_EQ(dir.Read("kept.txt"), "mine");
    }
  }
}

// A look made ahead (for the journal) is not the last word: whatever took the
// file's name since is left where it is.
TEST(CheckedRename, AnEntrySwappedInAfterTheLookAheadIsNotMoved) {
  for (const auto& traits : {test::kExt4, test::kVfat, test::kSshfs}) {
    for (const TKindCase& c : kKinds) {
      SCOPED_TRACE(std::string(traits.name) + ", " + c.what);
      TFsTempFolder dir;
      dir.Write("file.txt", "mine");
      TFakeVolume volume(traits);
      volume.afterMove = [](int, const char* from, const char* to) { ADD_FAILURE() << from << " -> " << to; };
      TFolderRenamer renamer(volume);
      TFolderHandle folder;
      ASSERT_EQ(TFolderHandle::Open(dir.Path(), folder), 0);
      const TLookedFile looked = renamer.Look(folder, "file.txt");
      ASSERT_EQ(::renameat(folder.Fd(), "file.txt", folder.Fd(), "aside.txt"), 0);
      MakeEntry(folder.Fd(), "file.txt", c.kind);
      EXPECT_EQ(renamer.Rename(folder, "file.txt", "new.txt", looked), c.kind == TKind::OtherFile ? ESTALE : kNotAFile);
      EXPECT_FALSE(dir.Exists("new.txt"));
      EXPECT_EQ(IsRegular(dir, "file.txt"), c.kind == TKind::OtherFile);
      EXPECT_EQ(dir.Read("aside.txt"), "mine");
    }
  }
}

TLookedFile ListedNow(const TFolderHandle& folder, const char* name) {
  struct stat st {};
  EXPECT_EQ(::fstatat(folder.Fd(), name, &st, AT_SYMLINK_NOFOLLOW), 0);
  return ListedFile(folder.Id().Device, st.st_ino);
}

// Where the journal recorded only the listing's number, the rename's one look
// before the move decides: the same file moves with two looks in all; whatever
// took the name since (another file too, by its number) is left where it is.
TEST(CheckedRename, AListedFileMovesOnlyIfTheLookFindsItStill) {
  for (const TKindCase& c : kKinds) {
    SCOPED_TRACE(c.what);
    TFsTempFolder dir;
    dir.Write("file.txt", "mine");
    dir.Write("other.txt", "theirs");
    TFakeVolume volume(test::kExt4);
    TFolderRenamer renamer(volume);
    TFolderHandle folder;
    ASSERT_EQ(TFolderHandle::Open(dir.Path(), folder), 0);
    const TLookedFile listed = ListedNow(folder, "file.txt");
    EXPECT_EQ(renamer.Rename(folder, "other.txt", "other2.txt", ListedNow(folder, "other.txt")), 0);
    EXPECT_EQ(volume.calls["lookup"], 2);
    ASSERT_EQ(::renameat(folder.Fd(), "file.txt", folder.Fd(), "aside.txt"), 0);
    MakeEntry(folder.Fd(), "file.txt", c.kind);
    volume.afterMove = [](int, const char* from, const char* to) { ADD_FAILURE() << from << " -> " << to; };
    EXPECT_EQ(renamer.Rename(folder, "file.txt", "new.txt", listed), c.kind == TKind::OtherFile ? ESTALE : kNotAFile);
    EXPECT_FALSE(dir.Exists("new.txt"));
    EXPECT_EQ(IsRegular(dir, "file.txt"), c.kind == TKind::OtherFile);
    EXPECT_EQ(dir.Read("aside.txt"), "mine");
  }
}

// The racing process puts the file back while the pass moves its stand-in:
// the stand-in cannot go back under the taken name. Where the volume can
// exchange two names, the file takes the new name and the stand-in its own;
// elsewhere the rename fails and both stay, nothing replaced.
TEST(CheckedRename, AStandInMovedWhileTheFileCameBackTradesPlaces) {
  for (const auto& traits : {test::kExt4, test::kCasefold, test::kVfat}) {
    for (const TKindCase& c : kKinds) {
      // (vfat renames over a placeholder file, which a folder cannot be moved onto at all)
      if (!traits.renameNoReplace && c.kind == TKind::Folder) continue;
      SCOPED_TRACE(std::string(traits.name) + ", " + c.what);
      TFsTempFolder dir;
      dir.Write("file.txt", "mine");
      TFakeVolume volume(traits);
      TFolderRenamer renamer(volume);
      TFolderHandle folder;
      ASSERT_EQ(TFolderHandle::Open(dir.Path(), folder), 0);
      const TLookedFile looked = renamer.Look(folder, "file.txt");
      ASSERT_EQ(looked.Error, 0);
      bool swapped = false, putBack = false;
      volume.beforeMove = [&](int dirFd, const char* from, const char*) {
        if (swapped || std::string(from) != "file.txt") return;
        swapped = true;
        ASSERT_EQ(::renameat(dirFd, "file.txt", dirFd, "aside.txt"), 0);
        MakeEntry(dirFd, "file.txt", c.kind);
      };
      volume.afterMove = [&](int dirFd, const char* from, const char*) {
        if (putBack || std::string(from) != "file.txt") return;
        putBack = true;
        ASSERT_EQ(::renameat2(dirFd, "aside.txt", dirFd, "file.txt", RENAME_NOREPLACE), 0);
      };
      const bool exchanges = traits.renameNoReplace;
      const int error = renamer.Rename(folder, "file.txt", "new.txt", looked);
      EXPECT_EQ(error == 0, exchanges) << error;
      const std::string standIn = exchanges ? "file.txt" : "new.txt";
      const std::string file = exchanges ? "new.txt" : "file.txt";
      ASSERT_TRUE(IsRegular(dir, file));  // (reading a FIFO would wait)
      EXPECT_EQ(dir.Read(file), "mine");
      EXPECT_EQ(IsRegular(dir, standIn), c.kind == TKind::OtherFile);
      EXPECT_FALSE(dir.Exists("aside.txt"));
    }
  }
}

TEST(CheckedRename, ARenameDoneDespiteAnErrorIsReportedDone) {
  TFsTempFolder dir;
  dir.Write("a.txt", "a");
  dir.Write("c.txt", "c");
  TFakeVolume volume(test::kExt4);
  volume.failMovesTo = "b.txt";
  volume.failAfterMoving = true;
  TFolderRenamer renamer(volume);
  EXPECT_EQ(renamer.Rename(dir.Path(), "a.txt", "b.txt"), 0);
  EXPECT_EQ(renamer.NotedError(), EIO);
  EXPECT_EQ(dir.Read("b.txt"), "a");
  // A failure that left the file where it was stays a failure, and the note goes.
  volume.failAfterMoving = false;
  volume.failMovesTo = "d.txt";
  EXPECT_EQ(renamer.Rename(dir.Path(), "c.txt", "d.txt"), EIO);
  EXPECT_EQ(renamer.NotedError(), 0);
  EXPECT_EQ(dir.Read("c.txt"), "c");
}

TEST(CheckedRename, FilesKeptUntouchedAreNeverRenamed) {
  TFsTempFolder dir;
  dir.Write("r.vtr", "record");
  dir.Write("x.txt", "x");
  struct stat st {};
  ASSERT_EQ(::stat((dir / "r.vtr").c_str(), &st), 0);
  TFolderRenamer renamer;
  renamer.KeepUntouched({{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)}});
  EXPECT_EQ(renamer.Rename(dir.Path(), "r.vtr", "Xr.vtr"), EBUSY);
  EXPECT_EQ(renamer.Rename(dir.Path(), "x.txt", "Xx.txt"), 0);
  EXPECT_EQ(dir.Read("r.vtr"), "record");
  EXPECT_FALSE(dir.Exists("Xr.vtr"));
}

// A volume that gives each spelling of a name its own inode number (FUSE exFAT).
class CaseOnlyOnVolumeWithInodePerSpelling : public ::testing::TestWithParam<test::TVolumeTraits> {
 protected:
  void SetUp() override { volume.inodePerSpelling = true; }
  TFsTempFolder dir;
  TFakeVolume volume{GetParam()};
  TFolderRenamer renamer{volume};
};

TEST_P(CaseOnlyOnVolumeWithInodePerSpelling, ChangesTheCase) {
  for (int i = 0; i < 20; ++i) dir.Write("file" + std::to_string(i) + ".txt", std::to_string(i));
  for (int i = 0; i < 20; ++i)
    EXPECT_EQ(renamer.Rename(dir.Path(), "file" + std::to_string(i) + ".txt", "FILE" + std::to_string(i) + ".TXT"), 0);
  EXPECT_EQ(dir.Read("FILE7.TXT"), "7");
  EXPECT_FALSE(dir.Exists("file7.txt"));
}

TEST_P(CaseOnlyOnVolumeWithInodePerSpelling, AnotherFileIsStillAnotherFile) {
  dir.Write("a.txt", "a");
  dir.Write("b.txt", "b");
  dir.Write("ab.txt", "ab");
  EXPECT_EQ(renamer.Rename(dir.Path(), "a.txt", "B.TXT"), EEXIST);
  EXPECT_EQ(renamer.Rename(dir.Path(), "a.txt", "AB.TXT"), EEXIST);
  EXPECT_EQ(dir.Read("a.txt"), "a");
  EXPECT_EQ(dir.Read("b.txt"), "b");
  EXPECT_EQ(dir.Read("ab.txt"), "ab");
}

INSTANTIATE_TEST_SUITE_P(Volumes, CaseOnlyOnVolumeWithInodePerSpelling, ::testing::Values(test::kVfat, test::kCasefold),
                         [](const auto& param) {
                           return std::string(param.param.name) == "vfat" ? "vfat" : "casefold";
                         });

// The same on a real volume of that kind, where the machine has one mounted.
TEST(CheckedRename, ChangesTheCaseOnAMountedVolumeWithoutLinks) {
  const char* folder = std::getenv("VELTRANE_TEST_NOLINK_FOLDER");
  if (folder == nullptr)
    GTEST_SKIP() << "set VELTRANE_TEST_NOLINK_FOLDER to a writable folder on FUSE exFAT to run this end to end";
  TFsTempFolder dir(folder);
  TFolderRenamer renamer;
  for (int i = 0; i < 200; ++i) dir.Write("case" + std::to_string(i) + ".txt", std::to_string(i));
  for (int i = 0; i < 200; ++i)
    EXPECT_EQ(renamer.Rename(dir.Path(), "case" + std::to_string(i) + ".txt", "CASE" + std::to_string(i) + ".TXT"), 0);
  EXPECT_EQ(dir.Read("CASE199.TXT"), "199");
}

// Without these two the placeholder's look would be taken for its owner's consent.
TEST(CheckedRename, APlaceholderHeldOpenForWritingIsLeftToItsHolder) {
  TFsTempFolder dir;
  dir.Write("mine", "mine");
  TFakeVolume exfat({"exfat", false, false, false});
  int theirs = -1;
  exfat.afterCreate = [&](int dirFd, const char* name) { theirs = ::openat(dirFd, name, O_WRONLY); };
  TFolderRenamer renamer(exfat);
  EXPECT_EQ(renamer.Rename(dir.Path(), "mine", "target"), EEXIST);
  ASSERT_GE(theirs, 0);
  ASSERT_EQ(::write(theirs, "theirs", 6), 6);
  ::close(theirs);
  EXPECT_EQ(exfat.calls["rename"], 0);
  EXPECT_EQ(dir.Read("mine"), "mine");
  EXPECT_EQ(dir.Read("target"), "theirs");
}

// The folder of a path as a walk reaches it, or an answer that says it is not.
TEST(OpenStepwise, FollowsNoLinkAndNoDotComponent) {
  TFsTempFolder dir;
  dir.MakeFolder("in/deep");
  dir.MakeFolder("out");
  dir.Write("file", "");
  ASSERT_EQ(::symlink((dir / "out").c_str(), (dir / "link").c_str()), 0);
  ASSERT_EQ(::symlink("in", (dir / "rel").c_str()), 0);
  struct {
    std::string path;
    int error;
  } const cases[] = {
      {dir / "in/deep/", 0},       {dir / "in/deep", 0},        {dir / "link/", ELOOP},     {dir / "rel/deep/", ELOOP},
      {dir / "in/../out/", ELOOP}, {dir / "in/./deep/", ELOOP}, {dir / "in//deep/", ELOOP}, {"/proc/self/cwd/", ELOOP},
      {dir / "file/", ENOTDIR},    {dir / "missing/", ENOENT},
  };
  for (const auto& c : cases) {
    TFolderHandle folder;
    EXPECT_EQ(TFolderHandle::OpenStepwise(c.path, folder), c.error) << c.path;
    EXPECT_EQ(folder.IsOpen(), c.error == 0) << c.path;
  }
  TFolderHandle deep;
  ASSERT_EQ(TFolderHandle::OpenStepwise(dir / "in/deep/", deep), 0);
  struct stat st {};
  ASSERT_EQ(::stat((dir / "in/deep").c_str(), &st), 0);
  EXPECT_EQ(deep.Id().Inode, static_cast<std::uint64_t>(st.st_ino));
  EXPECT_EQ(deep.Path(), dir / "in/deep/");
}

}  // namespace
}  // namespace vt
