#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "FakeVolume.h"
#include "FsTempFolder.h"
#include "platform/FolderHandle.h"
#include "platform/FolderRenamer.h"
#include "support/InodeFlags.h"

namespace vt {
namespace {

using test::TFakeVolume;
using test::TFsTempFolder;
using test::TVolumeTraits;

std::set<std::string> EntriesOf(const TFsTempFolder& dir) {
  std::set<std::string> names;
  const int fd = ::open(dir.Path().c_str(), O_PATH | O_DIRECTORY);
  PosixSysCalls().ListNames(fd, [&](std::string_view name) {
    if (name != "." && name != "..") names.emplace(name);
  });
  ::close(fd);
  return names;
}

TEST(FolderRenamer, RenamesAndNeverReplaces) {
  TFsTempFolder dir;
  dir.Write("old", "old content");
  dir.Write("taken", "taken content");
  TFolderRenamer renamer;
  EXPECT_EQ(renamer.Rename(dir.Path(), "old", "taken"), EEXIST);
  EXPECT_EQ(dir.Read("taken"), "taken content");
  EXPECT_EQ(renamer.Rename(dir.Path(), "old", "new"), 0);
  EXPECT_EQ(dir.Read("new"), "old content");
  EXPECT_EQ(renamer.Rename(dir.Path(), "old", "again"), ENOENT);
  EXPECT_EQ(EntriesOf(dir), (std::set<std::string>{"new", "taken"}));
  EXPECT_EQ(renamer.Rename(dir / "missing/", "new", "x"), ENOENT);
}

// Permission bits never make a file read-only; the immutable and append-only
// flags do, and a file so flagged is left alone only when asked (else its
// rename fails as the system refuses it, root's too). The same whether the
// rename looks for itself or after a listing recorded the file's number.
TEST(FolderRenamer, LeavesAnImmutableFileOnlyWhenAsked) {
  struct Case {
    mode_t Mode;
    int Flag;
    Unwritable Policy;
    int Answer;
  };
  const std::vector<Case> cases = {
      {0444, 0, Unwritable::Leave, 0},
      {0400, 0, Unwritable::Leave, 0},
      {0000, 0, Unwritable::Leave, 0},
      {0644, 0, Unwritable::Leave, 0},
      {0644, FS_IMMUTABLE_FL, Unwritable::Leave, kLeftUnwritable},
      {0444, FS_APPEND_FL, Unwritable::Leave, kLeftUnwritable},
      {0644, FS_IMMUTABLE_FL, Unwritable::Move, EPERM},
      {0644, FS_APPEND_FL, Unwritable::Move, EPERM},
  };
  for (const Case& c : cases)
    for (const bool listed : {false, true}) {
      SCOPED_TRACE(testing::Message() << std::oct << c.Mode << " flag " << c.Flag
                                      << (c.Policy == Unwritable::Leave ? " leave" : " move")
                                      << (listed ? " listed" : ""));
      TFsTempFolder dir;
      dir.Write("old", "content");
      ASSERT_EQ(::chmod((dir / "old").c_str(), c.Mode), 0);
      test::TInodeFlag flag;
      if (c.Flag != 0) {
        const std::string why = flag.Set(dir / "old", c.Flag);
        if (!why.empty()) GTEST_SKIP() << why;
      }
      auto folder = std::make_shared<TFolderHandle>();
      ASSERT_EQ(TFolderHandle::Open(dir.Path(), *folder), 0);
      TFolderRenamer renamer;
      if (listed) {
        struct stat st {};
        ASSERT_EQ(::lstat((dir / "old").c_str(), &st), 0);
        EXPECT_EQ(renamer.Rename(*folder, "old", "new", ListedFile(folder->Id().Device, st.st_ino), c.Policy),
                  c.Answer);
      } else {
        EXPECT_EQ(renamer.Rename(*folder, "old", "new", c.Policy), c.Answer);
      }
      const std::set<std::string> expected = {c.Answer == 0 ? "new" : "old"};
      EXPECT_EQ(EntriesOf(dir), expected);
    }
}

TEST(FolderRenamer, RefusesNamesThatAreNoEntryOfTheFolder) {
  TFsTempFolder dir;
  dir.MakeFolder("sub");
  dir.Write("file", "content");
  TFolderRenamer renamer;
  const std::string withNul("a\0b", 3);
  const std::string nulLast("ab\0", 3);
  for (const std::string& bad :
       {std::string(), std::string("."), std::string(".."), std::string("sub/file"), std::string("../file"),
        std::string("/tmp/x"), std::string("file/"), withNul, nulLast, std::string(300, 'x') + "/"}) {
    EXPECT_EQ(renamer.Rename(dir.Path(), "file", bad), EINVAL) << bad;
    EXPECT_EQ(renamer.Rename(dir.Path(), bad, "other"), EINVAL) << bad;
  }
  EXPECT_EQ(renamer.Rename(dir.Path(), "file", std::string(256, 'x')), ENAMETOOLONG);
  EXPECT_EQ(renamer.Rename(dir.Path(), "file", std::string(255, 'x')), 0);
  EXPECT_EQ(EntriesOf(dir), (std::set<std::string>{"sub", std::string(255, 'x')}));
  // Only "." and ".." themselves are refused, not names made of or led by dots.
  std::string current = std::string(255, 'x');
  for (const std::string good : {"...", ".x", "x.", "..x"}) {
    EXPECT_EQ(renamer.Rename(dir.Path(), current, good), 0) << good;
    current = good;
  }
}

TEST(FolderRenamer, KeepsTheFolderOpenUntilItChanges) {
  TFsTempFolder dir;
  dir.MakeFolder("one");
  dir.MakeFolder("two");
  for (const char* name : {"one/a", "one/b", "two/a"}) dir.Write(name);
  TFakeVolume volume(test::kExt4);
  TFolderRenamer renamer(volume);
  EXPECT_EQ(renamer.Rename(dir / "one/", "a", "a2"), 0);
  EXPECT_EQ(renamer.Rename(dir / "one/", "b", "b2"), 0);
  EXPECT_EQ(volume.calls["open"], 1);
  EXPECT_EQ(renamer.Rename(dir / "two/", "a", "a2"), 0);
  EXPECT_EQ(renamer.Rename(dir / "one/", "a2", "a3"), 0);
  EXPECT_EQ(volume.calls["open"], 3);
  EXPECT_TRUE(dir.Exists("one/a3") && dir.Exists("one/b2") && dir.Exists("two/a2"));
}

TEST(FolderRenamer, CaseOnlyRenameOnACaseSensitiveVolume) {
  TFsTempFolder dir;
  dir.Write("photo.jpg", "mine");
  dir.Write("other.txt", "other");
  dir.Write("OTHER.TXT", "OTHER");
  TFolderRenamer renamer;
  EXPECT_EQ(renamer.Rename(dir.Path(), "photo.jpg", "PHOTO.JPG"), 0);
  EXPECT_EQ(renamer.Rename(dir.Path(), "other.txt", "OTHER.TXT"), EEXIST);
  EXPECT_EQ(EntriesOf(dir), (std::set<std::string>{"PHOTO.JPG", "other.txt", "OTHER.TXT"}));
  EXPECT_EQ(dir.Read("other.txt"), "other");
  EXPECT_EQ(dir.Read("OTHER.TXT"), "OTHER");
}

TEST(FolderRenamer, TwoLinksDifferingInCaseAreTwoEntries) {
  TFsTempFolder dir;
  dir.Write("a.txt", "data");
  ASSERT_EQ(::link((dir / "a.txt").c_str(), (dir / "A.TXT").c_str()), 0);
  TFolderRenamer renamer;
  EXPECT_EQ(renamer.Rename(dir.Path(), "a.txt", "A.TXT"), EEXIST);
  EXPECT_EQ(EntriesOf(dir), (std::set<std::string>{"a.txt", "A.TXT"}));
}

// Another thread keeps creating the target, whole and at once (link of a
// finished file); each of its files must survive every rename.
void RaceTheTarget(ISysCalls& calls, int attempts = 0,
                   const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
  TFsTempFolder dir(base);
  TFolderRenamer renamer(calls);
  std::atomic<bool> done{false};
  std::atomic<int> created{0};
  std::thread creator([&] {
    for (int n = 0; !done.load(); ++n) {
      const std::string scratch = dir / "scratch";
      dir.Write("scratch", "theirs " + std::to_string(n));
      if (::link(scratch.c_str(), (dir / "target").c_str()) == 0) {
        ++created;
      } else if (errno == EPERM || errno == EOPNOTSUPP) {  // no links on the volume: made in place
        const int fd = ::open((dir / "target").c_str(), O_CREAT | O_EXCL | O_WRONLY, 0644);
        if (fd >= 0) {
          const std::string theirs = "theirs " + std::to_string(n);
          if (::write(fd, theirs.data(), theirs.size()) == static_cast<ssize_t>(theirs.size())) ++created;
          ::close(fd);
        }
      }
      ::unlink(scratch.c_str());
    }
  });
  // A failed assertion returns early: the creator must still be stopped.
  struct TStopper {
    std::atomic<bool>& done;
    std::thread& thread;
    ~TStopper() {
      done = true;
      if (thread.joinable()) thread.join();
    }
  } stopper{done, creator};
  int renamed = 0, refused = 0, seenTheirs = 0;
  for (int i = 0; (i < attempts || renamed < 25 || refused < 25) && i < 100000; ++i) {
    const std::string mine = "mine " + std::to_string(i);
    dir.Write("source", mine);
    const int error = renamer.Rename(dir.Path(), "source", "target");
    if (error == 0) {
      ++renamed;
      ASSERT_EQ(dir.Read("target"), mine);
      ASSERT_FALSE(dir.Exists("source"));
    } else {
      ASSERT_EQ(error, EEXIST);
      ++refused;
      ASSERT_EQ(dir.Read("source"), mine);
      const std::string theirs = dir.Read("target");
      // (empty when made in place and caught before its content was written)
      ASSERT_TRUE(theirs.empty() || theirs.rfind("theirs ", 0) == 0) << theirs;
      ++seenTheirs;
    }
    ::unlink((dir / "target").c_str());
  }
  done = true;
  creator.join();
  if (dir.Exists("target")) ++seenTheirs;
  EXPECT_GT(renamed, 0);
  EXPECT_GT(refused, 0);
  EXPECT_EQ(seenTheirs, created.load()) << "a file of the other thread was replaced";
}

TEST(FolderRenamer, NeverReplacesATargetCreatedMeanwhile) { RaceTheTarget(PosixSysCalls()); }

TEST(FolderRenamer, NeverReplacesATargetCreatedMeanwhileThroughLinks) {
  TFakeVolume ntfs(test::kNtfs3g);
  RaceTheTarget(ntfs);
}

// Neither RENAME_NOREPLACE nor hard links (FUSE exFAT and the like): the
// target is reserved before the rename.
TEST(FolderRenamer, NeverReplacesATargetCreatedMeanwhileWithoutLinks) {
  TFakeVolume exfat({"exfat", false, false, false});
  std::error_code error;
  RaceTheTarget(exfat, 10000,
                std::filesystem::is_directory("/dev/shm", error) ? "/dev/shm" : std::filesystem::temp_directory_path());
}

// The same on a real volume of that kind, where the machine has one mounted.
TEST(FolderRenamer, NeverReplacesATargetCreatedMeanwhileOnAMountedVolumeWithoutLinks) {
  const char* folder = std::getenv("VELTRANE_TEST_NOLINK_FOLDER");
  if (folder == nullptr)
    GTEST_SKIP() << "set VELTRANE_TEST_NOLINK_FOLDER to a writable folder on a volume without hard links or "
                    "RENAME_NOREPLACE (FUSE exFAT) to run this end to end";
  RaceTheTarget(PosixSysCalls(), 10000, folder);
}

class FolderRenamerOnVolume : public ::testing::TestWithParam<TVolumeTraits> {
 protected:
  TFsTempFolder dir;
  TFakeVolume volume{GetParam()};
  TFolderRenamer renamer{volume};
};

// Volumes that find names without regard to case.
class FolderRenamerOnCaselessVolume : public FolderRenamerOnVolume {};

TEST_P(FolderRenamerOnVolume, RenamesToAFreeName) {
  dir.Write("a.txt", "a");
  EXPECT_EQ(renamer.Rename(dir.Path(), "a.txt", "b.txt"), 0);
  EXPECT_EQ(EntriesOf(dir), std::set<std::string>{"b.txt"});
  EXPECT_EQ(dir.Read("b.txt"), "a");
}

TEST_P(FolderRenamerOnVolume, RefusesATakenName) {
  dir.Write("a.txt", "a");
  dir.Write("b.txt", "b");
  EXPECT_EQ(renamer.Rename(dir.Path(), "a.txt", "b.txt"), EEXIST);
  EXPECT_EQ(dir.Read("a.txt"), "a");
  EXPECT_EQ(dir.Read("b.txt"), "b");
  EXPECT_EQ(volume.calls["rename"], 0);
}

TEST_P(FolderRenamerOnCaselessVolume, RefusesANameTakenUnderOtherCase) {
  dir.Write("a.txt", "a");
  dir.Write("b.txt", "b");
  EXPECT_EQ(renamer.Rename(dir.Path(), "a.txt", "B.TXT"), EEXIST);
  EXPECT_EQ(EntriesOf(dir), (std::set<std::string>{"a.txt", "b.txt"}));
  EXPECT_EQ(dir.Read("b.txt"), "b");
}

TEST_P(FolderRenamerOnVolume, ChangesOnlyTheCase) {
  dir.Write("holiday.jpg", "photo");
  dir.Write("other", "other");
  EXPECT_EQ(renamer.Rename(dir.Path(), "holiday.jpg", "Holiday.JPG"), 0);
  EXPECT_EQ(renamer.Rename(dir.Path(), "Holiday.JPG", "HOLIDAY.JPG"), 0);
  EXPECT_EQ(EntriesOf(dir), (std::set<std::string>{"HOLIDAY.JPG", "other"}));
  EXPECT_EQ(renamer.Rename(dir.Path(), "HOLIDAY.JPG", "holiday.jpg"), 0);  // its first name is free again
  EXPECT_EQ(EntriesOf(dir), (std::set<std::string>{"holiday.jpg", "other"}));
  EXPECT_EQ(dir.Read("holiday.jpg"), "photo");
}

TEST_P(FolderRenamerOnVolume, ChangesTheCaseOfAccentedLetters) {
  dir.Write("\xc3\xa9t\xc3\xa9.txt", "summer");
  EXPECT_EQ(renamer.Rename(dir.Path(), "\xc3\xa9t\xc3\xa9.txt", "\xc3\x89T\xc3\x89.txt"), 0);
  EXPECT_EQ(EntriesOf(dir), std::set<std::string>{"\xc3\x89T\xc3\x89.txt"});
  EXPECT_EQ(dir.Read("\xc3\x89T\xc3\x89.txt"), "summer");
}

TEST_P(FolderRenamerOnCaselessVolume, AFailedCaseChangeLeavesTheFileAsItWas) {
  dir.Write("notes.txt", "notes");
  volume.failMovesTo = "NOTES.TXT";
  EXPECT_EQ(renamer.Rename(dir.Path(), "notes.txt", "NOTES.TXT"), EIO);
  EXPECT_EQ(EntriesOf(dir), std::set<std::string>{"notes.txt"});
  EXPECT_EQ(dir.Read("notes.txt"), "notes");
}

TEST_P(FolderRenamerOnCaselessVolume, ManyCaseChangesNeverReadTheFolder) {
  for (int i = 0; i < 20; ++i) dir.Write("file" + std::to_string(i) + ".txt");
  for (int i = 0; i < 20; ++i)
    EXPECT_EQ(renamer.Rename(dir.Path(), "file" + std::to_string(i) + ".txt", "FILE" + std::to_string(i) + ".TXT"), 0);
  EXPECT_EQ(volume.calls["list"], 0);
  EXPECT_EQ(EntriesOf(dir).count("FILE7.TXT"), 1u);
  EXPECT_EQ(EntriesOf(dir).size(), 20u);
}

// Another file under other case: refused before anything moves.
TEST_P(FolderRenamerOnCaselessVolume, AClashWithAnotherFileMovesNothing) {
  dir.Write("a.txt", "a");
  dir.Write("b.txt", "b");
  volume.afterMove = [](int, const char* from, const char* to) { ADD_FAILURE() << "moved " << from << " to " << to; };
  EXPECT_EQ(renamer.Rename(dir.Path(), "a.txt", "B.TXT"), EEXIST);
  EXPECT_EQ(renamer.StrandedName(), "");
}

// The old name is taken again while the file is under its temporary name, and
// the new name cannot be had: the file stays where it is, and the caller
// learns the name.
TEST_P(FolderRenamerOnCaselessVolume, AFileThatCannotGoOnOrBackIsReportedWhereItIs) {
  dir.Write("notes.txt", "notes");
  volume.afterMove = [&](int, const char*, const char* to) {
    if (std::string(to).starts_with(".vt-")) dir.Write("Notes.txt", "intruder");
  };
  EXPECT_EQ(renamer.Rename(dir.Path(), "notes.txt", "NOTES.TXT"), EEXIST);
  const std::string stranded = renamer.StrandedName();
  ASSERT_TRUE(IsStrandedName(stranded)) << stranded;
  EXPECT_EQ(EntriesOf(dir), (std::set<std::string>{stranded, "Notes.txt"}));
  EXPECT_EQ(dir.Read(stranded), "notes");
  EXPECT_EQ(dir.Read("Notes.txt"), "intruder");
  // the next rename starts afresh
  EXPECT_EQ(renamer.Rename(dir.Path(), stranded, "notes.old"), 0);
  EXPECT_EQ(renamer.StrandedName(), "");
}

TEST(StrandedName, OnlyTheRenamersOwnTemporaryNames) {
  EXPECT_TRUE(IsStrandedName(".vt-00003c930a077140.tmp"));
  for (const char* other :
       {"", ".vt-.tmp", ".vt-00003c930a07714.tmp", ".vt-00003c930a0771400.tmp", ".vt-00003C930A077140.tmp",
        ".vt-00003c930a07714g.tmp", "vt-00003c930a077140.tmp", ".vt-00003c930a077140.txt", ".vt-00003c930a077140.tmp/"})
    EXPECT_FALSE(IsStrandedName(other)) << other;
}

TEST_P(FolderRenamerOnVolume, ClashesNeverReadTheFolder) {
  for (int i = 0; i < 10; ++i) {
    dir.Write("a" + std::to_string(i), "a");
    dir.Write("b" + std::to_string(i), "b");
  }
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(renamer.Rename(dir.Path(), "a" + std::to_string(i), "b" + std::to_string(i)), EEXIST);
  EXPECT_EQ(volume.calls["list"], 0);
  EXPECT_EQ(EntriesOf(dir).size(), 20u);
  EXPECT_EQ(dir.Read("b3"), "b");
}

std::string VolumeName(const ::testing::TestParamInfo<TVolumeTraits>& info) {
  std::string name = info.param.name;
  for (char& c : name)
    if (c == '-') c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Volumes, FolderRenamerOnVolume,
                         ::testing::Values(test::kExt4, test::kNtfs3g, test::kVfat, test::kCasefold, test::kSshfs,
                                           test::kSshfsNoLinks),
                         VolumeName);
INSTANTIATE_TEST_SUITE_P(Volumes, FolderRenamerOnCaselessVolume, ::testing::Values(test::kVfat, test::kCasefold),
                         VolumeName);

TEST(FolderRenamerFallbacks, RemembersThatTheVolumeLacksNoReplaceRenames) {
  TFsTempFolder dir;
  dir.Write("a");
  dir.Write("b");
  TFakeVolume ntfs(test::kNtfs3g);
  TFolderRenamer renamer(ntfs);
  EXPECT_EQ(renamer.Rename(dir.Path(), "a", "a2"), 0);
  EXPECT_EQ(renamer.Rename(dir.Path(), "b", "b2"), 0);
  EXPECT_EQ(ntfs.calls["renameat2"], 1);
  EXPECT_EQ(ntfs.calls["link"], 2);
  EXPECT_EQ(ntfs.calls["rename"], 0);
}

TEST(FolderRenamerFallbacks, ReservesTheTargetOnlyWithoutLinks) {
  TFsTempFolder dir;
  dir.Write("a", "a");
  TFakeVolume vfat(test::kVfat);
  TFolderRenamer renamer(vfat);
  EXPECT_EQ(renamer.Rename(dir.Path(), "a", "b"), 0);
  EXPECT_EQ(vfat.calls["link"], 1);
  EXPECT_EQ(vfat.calls["create"], 1);
  EXPECT_EQ(vfat.calls["rename"], 1);
  EXPECT_EQ(EntriesOf(dir), std::set<std::string>{"b"});
  EXPECT_EQ(dir.Read("b"), "a");
}

// Another process acts on the placeholder between its creation and the rename.
TEST(FolderRenamerFallbacks, APlaceholderSomeoneElseTookIsLeftToThem) {
  struct Case {
    const char* what;
    void (*act)(int dirFd, const char* name);
  };
  const Case cases[] = {
      {"replaced by their file",
       [](int dirFd, const char* name) {
         const int fd = ::openat(dirFd, "theirs.tmp", O_CREAT | O_WRONLY, 0644);
         ASSERT_EQ(::write(fd, "theirs", 6), 6);
         ::close(fd);
         ASSERT_EQ(::renameat(dirFd, "theirs.tmp", dirFd, name), 0);
       }},
      {"written to",
       [](int dirFd, const char* name) {
         const int fd = ::openat(dirFd, name, O_WRONLY);
         ASSERT_EQ(::write(fd, "theirs", 6), 6);
         ::close(fd);
       }},
      // (Made anew empty, it may get the placeholder's inode number back and
      // pass for it: only an empty file is at stake then.)
      {"removed and made anew",
       [](int dirFd, const char* name) {
         ::unlinkat(dirFd, name, 0);
         const int fd = ::openat(dirFd, name, O_CREAT | O_EXCL | O_WRONLY, 0644);
         ASSERT_EQ(::write(fd, "theirs", 6), 6);
         ::close(fd);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TFsTempFolder dir;
    dir.Write("mine", "mine");
    TFakeVolume exfat({"exfat", false, false, false});
    exfat.afterCreate = c.act;
    TFolderRenamer renamer(exfat);
    EXPECT_EQ(renamer.Rename(dir.Path(), "mine", "target"), EEXIST);
    EXPECT_EQ(exfat.calls["rename"], 0);
    EXPECT_EQ(dir.Read("mine"), "mine");
    EXPECT_EQ(dir.Read("target"), "theirs");
  }
}

TEST(FolderRenamerFallbacks, RefusesTheRenameWhenNoNameCanBeReserved) {
  TFsTempFolder dir;
  dir.Write("a", "a");
  TFakeVolume exfat({"exfat", false, false, false});
  exfat.createError = EPERM;
  TFolderRenamer renamer(exfat);
  EXPECT_EQ(renamer.Rename(dir.Path(), "a", "b"), EPERM);
  EXPECT_EQ(exfat.calls["rename"], 0);
  EXPECT_EQ(EntriesOf(dir), std::set<std::string>{"a"});
}

TEST(FolderRenamerFallbacks, AFailedRenameTakesItsPlaceholderAway) {
  TFsTempFolder dir;
  dir.Write("a", "a");
  TFakeVolume exfat({"exfat", false, false, false});
  exfat.failMovesTo = "b";
  TFolderRenamer renamer(exfat);
  EXPECT_EQ(renamer.Rename(dir.Path(), "a", "b"), EIO);
  EXPECT_EQ(renamer.Rename(dir.Path(), "gone", "c"), ENOENT);
  EXPECT_EQ(EntriesOf(dir), std::set<std::string>{"a"});
}

TEST(FolderRenamerFallbacks, KeepsTheOldNameWhenItCannotBeRemoved) {
  TFsTempFolder dir;
  dir.Write("a", "a");
  TFakeVolume ntfs(test::kNtfs3g);
  ntfs.failUnlinkOf = "a";
  TFolderRenamer renamer(ntfs);
  EXPECT_EQ(renamer.Rename(dir.Path(), "a", "b"), EACCES);
  // the hard link made on the way is gone again
  EXPECT_EQ(EntriesOf(dir), std::set<std::string>{"a"});
}

TEST(FolderRenamerFallbacks, AnInvalidNameDoesNotMakeTheFlagLookMissing) {
  TFsTempFolder dir;
  dir.Write("a");
  TFakeVolume volume(test::kExt4);
  TFolderRenamer renamer(volume);
  volume.failMovesTo = "bad:name";
  volume.failMovesWith = EINVAL;  // as vfat answers for a character it cannot store
  EXPECT_EQ(renamer.Rename(dir.Path(), "a", "bad:name"), EINVAL);
  EXPECT_EQ(renamer.Rename(dir.Path(), "a", "good"), 0);
  EXPECT_EQ(volume.calls["renameat2"], 2);
}

}  // namespace
}  // namespace vt
