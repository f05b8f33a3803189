// A file is replaced only by a complete copy: whatever fails on the way, the
// old file stays and no temporary file is left behind.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <set>
#include <string>

#include "FsTempFolder.h"
#include "platform/ReplacingFile.h"
#include "support/FileSizeLimit.h"

namespace vt {
namespace {

using test::TFsTempFolder;

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

int Mode(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

int Save(const std::string& path, const std::string& bytes, IReplaceCalls& calls = PosixReplaceCalls(),
         TLinkAtTarget links = TLinkAtTarget::Follow) {
  TReplacingFile file(calls);
  if (const int error = file.Open(path, links)) return error;
  if (const int error = file.Write(bytes)) return error;
  return file.Commit().Error;
}

// Fails the way a full disk does once a number of bytes went out, after a few
// short writes, as a kernel may return them.
struct TFillingDisk : IReplaceCalls {
  unsigned long Room;
  explicit TFillingDisk(unsigned long room) : Room(room) {}
  long Write(int fd, const char* bytes, unsigned long count) override {
    if (Room == 0) {
      errno = ENOSPC;
      return -1;
    }
    const unsigned long part = std::min({count, Room, 1000ul});
    Room -= part;
    return IReplaceCalls::Write(fd, bytes, part);
  }
};

struct TFailingStep : IReplaceCalls {
  int SyncError = 0;
  int RenameError = 0;
  int Sync(int fd) override { return SyncError ? SyncError : IReplaceCalls::Sync(fd); }
  int Rename(const char* from, const char* to) override {
    return RenameError ? RenameError : IReplaceCalls::Rename(from, to);
  }
};

TEST(ReplacingFile, ANewFileAppearsWholeAndAlone) {
  TFsTempFolder dir;
  const std::string bytes(100000, 'x');
  ASSERT_EQ(Save(dir / "r.vtr", bytes), 0);
  EXPECT_EQ(dir.Read("r.vtr"), bytes);
  EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"r.vtr"});
}

TEST(ReplacingFile, ANewFileGetsTheUmasksPermissions) {
  TFsTempFolder dir;
  const mode_t old = ::umask(027);
  const int error = Save(dir / "r.vtr", "x");
  ::umask(old);
  ASSERT_EQ(error, 0);
  EXPECT_EQ(Mode(dir / "r.vtr"), 0640);
}

TEST(ReplacingFile, AnExistingFileIsReplacedAndKeepsItsPermissions) {
  TFsTempFolder dir;
  dir.Write("r.vtr", std::string(5000, 'o'));
  ASSERT_EQ(::chmod((dir / "r.vtr").c_str(), 0604), 0);
  ASSERT_EQ(Save(dir / "r.vtr", "new"), 0);
  EXPECT_EQ(dir.Read("r.vtr"), "new");
  EXPECT_EQ(Mode(dir / "r.vtr"), 0604);
  EXPECT_EQ(Names(dir.Path()).size(), 1u);
}

TEST(ReplacingFile, ALinkKeepsPointingAtTheReplacedFile) {
  TFsTempFolder dir;
  dir.MakeFolder("real");
  dir.Write("real/r.vtr", "old");
  ASSERT_EQ(::symlink("real/r.vtr", (dir / "link.vtr").c_str()), 0);
  ASSERT_EQ(Save(dir / "link.vtr", "new"), 0);
  EXPECT_EQ(dir.Read("real/r.vtr"), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.vtr"));
  EXPECT_EQ(Names(dir / "real"), std::set<std::string>{"r.vtr"});
}

// Someone who can write the folder swaps the file for a link to the user's own
// file just before the rename that puts the new one in place.
struct TSwapBeforeRename : IReplaceCalls {
  std::string LinkTo;
  int Rename(const char* from, const char* to) override {
    ::unlink(to);
    if (::symlink(LinkTo.c_str(), to) != 0) return errno;
    return IReplaceCalls::Rename(from, to);
  }
};

TEST(ReplacingFile, AFileTheProgramNamedIsNeverWrittenThroughALink) {
  TFsTempFolder dir;
  dir.Write("precious.txt", "mine");
  for (const TLinkAtTarget links : {TLinkAtTarget::Refuse, TLinkAtTarget::Follow}) {
    dir.Write("r.vtr", "reserved");
    TSwapBeforeRename swap;
    swap.LinkTo = dir / "precious.txt";
    ASSERT_EQ(Save(dir / "r.vtr", "rows", swap, links), 0);
    // The link itself is replaced: what it pointed at stays as it was.
    EXPECT_EQ(dir.Read("precious.txt"), "mine");
    EXPECT_FALSE(std::filesystem::is_symlink(dir / "r.vtr"));
    EXPECT_EQ(dir.Read("r.vtr"), "rows");
  }
  // A link already in place is refused before anything is written.
  std::filesystem::remove(dir / "r.vtr");
  ASSERT_EQ(::symlink("precious.txt", (dir / "r.vtr").c_str()), 0);
  EXPECT_EQ(Save(dir / "r.vtr", "rows", PosixReplaceCalls(), TLinkAtTarget::Refuse), ELOOP);
  EXPECT_EQ(dir.Read("precious.txt"), "mine");
  EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"precious.txt", "r.vtr"}));
}

TEST(ReplacingFile, NamesThatAreNoWritableFileAreRefusedBeforeWriting) {
  TFsTempFolder dir;
  dir.MakeFolder("folder");
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  struct Case {
    std::string Name;
    int Error;
  };
  for (const Case& c : {Case{"folder", EISDIR}, Case{"pipe", EINVAL}, Case{"missing/r.vtr", ENOENT}}) {
    EXPECT_EQ(Save(dir / c.Name, "x"), c.Error) << c.Name;
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));
  EXPECT_TRUE(std::filesystem::is_fifo(dir / "pipe"));
  EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"folder", "pipe"}));
}

TEST(ReplacingFile, AReadOnlyFileIsNotReplaced) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
  TFsTempFolder dir;
  dir.Write("r.vtr", "old");
  ASSERT_EQ(::chmod((dir / "r.vtr").c_str(), 0444), 0);
  EXPECT_EQ(Save(dir / "r.vtr", "new"), EACCES);
  EXPECT_EQ(dir.Read("r.vtr"), "old");
}

TEST(ReplacingFile, ADiskFullHalfWayLeavesTheOldFile) {
  TFsTempFolder dir;
  const std::string old(7000, 'o');
  dir.Write("r.vtr", old);
  for (unsigned long room : {0ul, 1ul, 4096ul, 99999ul}) {
    TFillingDisk disk(room);
    EXPECT_EQ(Save(dir / "r.vtr", std::string(100000, 'n'), disk), ENOSPC) << room;
    EXPECT_EQ(dir.Read("r.vtr"), old) << room;
    EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"r.vtr"}) << room;
  }
}

TEST(ReplacingFile, AFailedFlushOrRenameLeavesTheOldFile) {
  TFsTempFolder dir;
  dir.Write("r.vtr", "old");
  TFailingStep sync;
  sync.SyncError = EIO;
  TFailingStep rename;
  rename.RenameError = EXDEV;
  struct Case {
    TFailingStep* Calls;
    TReplacingFile::TStep Step;
    int Error;
  };
  for (const Case& c :
       {Case{&sync, TReplacingFile::TStep::Flush, EIO}, Case{&rename, TReplacingFile::TStep::Rename, EXDEV}}) {
    TReplacingFile file(*c.Calls);
    ASSERT_EQ(file.Open(dir / "r.vtr"), 0);
    ASSERT_EQ(file.Write("new"), 0);
    const TReplacingFile::TCommitResult result = file.Commit();
    EXPECT_EQ(result.FailedStep, c.Step);
    EXPECT_EQ(result.Error, c.Error);
    EXPECT_EQ(dir.Read("r.vtr"), "old");
    EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"r.vtr"});
  }
}

TEST(ReplacingFile, AnAbandonedSaveRemovesItsTemporaryFile) {
  TFsTempFolder dir;
  {
    TReplacingFile file;
    ASSERT_EQ(file.Open(dir / "r.vtr"), 0);
    ASSERT_EQ(file.Write("partial"), 0);
    EXPECT_TRUE(std::filesystem::exists(file.TemporaryPath()));
    EXPECT_EQ(std::filesystem::path(file.TemporaryPath()).parent_path(),
              std::filesystem::path(dir.Path()).parent_path());
  }
  EXPECT_TRUE(Names(dir.Path()).empty());
}

// The kernel's own refusal, without a seam: a file-size limit stops the write part-way.
TEST(ReplacingFile, AFileSizeLimitHalfWayLeavesTheOldFile) {
  TFsTempFolder dir;
  const std::string old(3000, 'o');
  dir.Write("r.vtr", old);
  test::TFileSizeLimit limit(65536);
  ASSERT_TRUE(limit.Applied());
  const int error = Save(dir / "r.vtr", std::string(200000, 'n'));
  limit.Lift();
  EXPECT_EQ(error, EFBIG);
  EXPECT_EQ(dir.Read("r.vtr"), old);
  EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"r.vtr"});
}

// A real full file system, where this machine lets a test mount one.
TEST(ReplacingFile, AFullFileSystemLeavesTheOldFile) {
  TFsTempFolder dir;
  dir.MakeFolder("small");
  const std::string mount = dir / "small";
  if (::mount("tmpfs", mount.c_str(), "tmpfs", 0, "size=64k") != 0) GTEST_SKIP() << "cannot mount a tmpfs here";
  const std::string old(20000, 'o');
  const std::string path = mount + "/r.vtr";
  { std::ofstream(path, std::ios::binary) << old; }
  const int error = Save(path, std::string(100000, 'n'));
  const std::string after = dir.Read("small/r.vtr");
  const std::set<std::string> names = Names(mount);
  ::umount(mount.c_str());
  EXPECT_EQ(error, ENOSPC);
  EXPECT_EQ(after, old);
  EXPECT_EQ(names, std::set<std::string>{"r.vtr"});
}

}  // namespace
}  // namespace vt
