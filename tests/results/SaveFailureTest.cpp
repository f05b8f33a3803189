// A save that fails part-way reports it and leaves the file it was to replace.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <iterator>

#include "passes/ResultTable.h"
#include "results/FailureKind.h"
#include "results/ResultFile.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

namespace vt {
using test::FailureKind;
namespace {

using test::Contents;
using test::TTempFolder;

std::size_t EntryCount(const std::filesystem::path& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TResultTable Rows(std::size_t count) {
  TResultTable table;
  for (std::size_t i = 0; i < count; ++i)
    table.AppendRow("old" + std::to_string(i), "new" + std::to_string(i), "/srv/data/", "Ok");
  return table;
}

// Takes this many bytes, then answers as a full disk.
struct TFullAfter : IReplaceCalls {
  unsigned long Room;
  explicit TFullAfter(unsigned long room) : Room(room) {}
  long Write(int fd, const char* bytes, unsigned long count) override {
    if (Room == 0) {
      errno = ENOSPC;
      return -1;
    }
    const unsigned long part = count < Room ? count : Room;
    Room -= part;
    return IReplaceCalls::Write(fd, bytes, part);
  }
};

struct TFailingCommit : IReplaceCalls {
  int SyncError = 0;
  int RenameError = 0;
  int Sync(int fd) override { return SyncError ? SyncError : IReplaceCalls::Sync(fd); }
  int Rename(const char* from, const char* to) override {
    return RenameError ? RenameError : IReplaceCalls::Rename(from, to);
  }
};

class SaveFailure : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SaveResultFile(Rows(3), Path));
    Before = Contents(Path);
  }
  void ExpectOldFileAlone() {
    EXPECT_EQ(Contents(Path), Before);
    EXPECT_EQ(EntryCount(Folder.Path()), 1u);
    TResultTable loaded;
    ASSERT_TRUE(LoadResultFile(Path, loaded));
    EXPECT_EQ(loaded.RowCount(), 3u);
  }

  TTempFolder Folder;
  const std::string Path = Folder.File("pass.vtr");
  std::string Before;
};

TEST_F(SaveFailure, ADiskFullAnywhereInTheStreamIsAStreamWriteError) {
  // In the header, in the buffered layout, in the row block written directly, at its last byte.
  const std::size_t size = WriteResultStream(Rows(5000)).size();
  for (unsigned long room : {0ul, 100ul, 4096ul, 20000ul, static_cast<unsigned long>(size - 1)}) {
    TFullAfter disk(room);
    const TResultFileStatus status = SaveResultFile(Rows(5000), TResultLayout(), Path, disk);
    ASSERT_EQ(FailureKind(status), TResultFileError::WriteError) << room;
    EXPECT_EQ(status.Error().Path, Path);
    EXPECT_EQ(status.Error().SystemError, ENOSPC);
    ExpectOldFileAlone();
  }
}

TEST_F(SaveFailure, AFailedFlushIsAWriteErrorAndAFailedRenameCannotCreate) {
  TFailingCommit sync;
  sync.SyncError = EIO;
  const TResultFileStatus flushed = SaveResultFile(Rows(10), TResultLayout(), Path, sync);
  ASSERT_EQ(FailureKind(flushed), TResultFileError::WriteError);
  EXPECT_EQ(flushed.Error().SystemError, EIO);
  ExpectOldFileAlone();

  TFailingCommit rename;
  rename.RenameError = EACCES;
  const TResultFileStatus renamed = SaveResultFile(Rows(10), TResultLayout(), Path, rename);
  ASSERT_EQ(FailureKind(renamed), TResultFileError::CannotCreate);
  EXPECT_EQ(renamed.Error().Path, Path);
  ExpectOldFileAlone();
}

TEST_F(SaveFailure, ASaveThatSucceedsAfterAFailureReplacesTheFile) {
  TFullAfter disk(10);
  ASSERT_FALSE(SaveResultFile(Rows(100), TResultLayout(), Path, disk));
  ASSERT_TRUE(SaveResultFile(Rows(100), Path));
  EXPECT_EQ(Contents(Path), WriteResultStream(Rows(100)));
  EXPECT_EQ(EntryCount(Folder.Path()), 1u);
}

}  // namespace
}  // namespace vt
