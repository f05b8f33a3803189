// A pass's journal kept as its record: ended, private, never read back, and
// kept whenever the record falls short.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "results/JournalReader.h"
#include "results/PassJournals.h"
#include "results/PassRecord.h"
#include "results/UndoneMark.h"
#include "support/ErrorPrint.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

namespace vt::test {
namespace {

namespace fs = std::filesystem;

class PassRecordTest : public ::testing::Test {
 protected:
  std::string Records() const { return (Dir.Path() / "records").string() + "/"; }
  std::string Files() const { return (Dir.Path() / "files").string() + "/"; }

  // Starts a journal and records the rename of a to xa, carried out on disk.
  void RenameOne(TPassJournalWriter& writer) {
    fs::create_directories(Files());
    std::ofstream(Files() + "xa") << "x";
    const TJournalStart start =
        StartPassJournal(Records(), {TJournalKind::Rename, 0, Files(), "*"}, std::nullopt, TDurability::Kernel, writer);
    ASSERT_TRUE(start.Created()) << start.Error;
    const std::string folder = Files();  // the entry only views it
    const std::vector<TJournalEntry> intent{{0, folder, "a", "xa", TRenameStatus::rsCanBeRenamed, 0, true}};
    ASSERT_TRUE(writer.Intend(intent));
    // No outcome: the pass ended before it was written; the disk settles it.
  }

  // A rename of one file kept as its record, then the journal of a recover of it.
  void RenameOneThenStartRecover(TPassRecord& renamed, TPassJournalWriter& recover) {
    TPassJournalWriter rename;
    RenameOne(rename);
    renamed = KeepPassRecord(rename, false, 50);
    ASSERT_TRUE(renamed.Ok());
    const TJournalStart start = StartPassJournal(Records(), {TJournalKind::Recover, 0, renamed.Journal, "recover"},
                                                 std::nullopt, TDurability::Kernel, recover);
    ASSERT_TRUE(start.Created()) << start.Error;
  }

  TTempFolder Dir;
};

// Without a journal nothing may be renamed: the failure says what, where and
// why, and a folder open to others is told of whatever came of the journal.
TEST_F(PassRecordTest, AJournalThatCannotBeMadeSaysWhyAndTheFolderIsStillWarnedOf) {
  const std::string inFile = Dir.File("file") + "/records/";
  struct Case {
    const char* What;
    std::string Folder;
    std::optional<std::string> Named;
    fs::perms FolderMode;  // of a folder made beforehand; none: not made
    TJournalFailure Failure;
    TError Error;
    TFolderAccess Access;
  };
  constexpr TFolderAccess kPrivate = TFolderAccess::Private;
  constexpr TFolderAccess kOpen = TFolderAccess::OpenToOthers;
  const Case cases[] = {
      {"folder under a file",
       inFile,
       std::nullopt,
       fs::perms::none,
       TJournalFailure::FolderNotMade,
       {ENOTDIR, TErrorKind::MakeFolder, inFile},
       kPrivate},
      {"journal name taken",
       Records(),
       Records() + "r.vtr",
       fs::perms::owner_all,
       TJournalFailure::JournalNotMade,
       {EEXIST, TErrorKind::Create, Records() + "r.vtj"},
       kPrivate},
      {"taken, folder open",
       Records(),
       Records() + "r.vtr",
       fs::perms::owner_all | fs::perms::group_read,
       TJournalFailure::JournalNotMade,
       {EEXIST, TErrorKind::Create, Records() + "r.vtj"},
       kOpen},
      {"made, folder open",
       Records(),
       std::nullopt,
       fs::perms::owner_all | fs::perms::others_exec,
       TJournalFailure::None,
       {},
       kOpen},
  };
  Dir.WriteFile("file");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    fs::remove_all(Records());
    if (c.FolderMode != fs::perms::none) {
      fs::create_directories(Records() + "r.vtj");  // holds the name of the named journal
      fs::permissions(Records(), c.FolderMode);
    }
    TPassJournalWriter writer;
    const TJournalStart start = StartPassJournal(c.Folder, {}, c.Named, TDurability::Kernel, writer);
    EXPECT_EQ(start.Access, c.Access);
    EXPECT_EQ(start.Folder, c.Folder);
    EXPECT_EQ(start.Failure, c.Failure);
    EXPECT_EQ(start.Error, c.Error);
    if (c.Failure == TJournalFailure::None) {
      EXPECT_TRUE(start.Created()) << start.Error;
      EXPECT_TRUE(writer.Finish(TJournalEnd::Completed));
    } else {
      EXPECT_FALSE(start.Created());
      EXPECT_TRUE(writer.Path().empty());
    }
  }
}

TEST_F(PassRecordTest, TheJournalIsTheRecordWithItsEndMarkAndIsPrivate) {
  TPassJournalWriter writer;
  RenameOne(writer);
  EXPECT_EQ(fs::status(Records()).permissions() & fs::perms::all, fs::perms::owner_all);
  const TPassRecord record = KeepPassRecord(writer, true, 50);
  ASSERT_TRUE(record.Ok());
  EXPECT_EQ(record.Renamed, 1u);
  EXPECT_EQ(record.Rows, 1u);
  EXPECT_EQ(record.Record, record.Journal);
  EXPECT_FALSE(fs::exists(ResultPathFor(record.Journal)));
  EXPECT_EQ(fs::status(record.Record).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  TExpected<TJournal> loaded = LoadJournal(record.Journal);
  ASSERT_TRUE(loaded) << loaded.Error();
  TJournal& journal = *loaded;
  EXPECT_EQ(journal.End, TJournalEnd::Stopped);
  ASSERT_EQ(journal.Rows.size(), 1u);
  EXPECT_EQ(journal.Rows[0].NewName, "xa");
}

// The last write (outcomes and end mark) refused by the disk: the record says
// so, and the journal stays as a pass that never ended, to be offered again.
TEST_F(PassRecordTest, ALastWriteThatFailsIsReportedAndTheJournalStaysUnfinished) {
  for (const TRecordPlace place : {TRecordPlace::Automatic, TRecordPlace::None}) {
    SCOPED_TRACE(place == TRecordPlace::Automatic ? "automatic" : "none");
    fs::remove_all(Records());
    TPassJournalWriter writer;
    RenameOne(writer);
    std::vector<TJournalEntry> outcome{{0, Files(), "a", "xa", TRenameStatus::rsOk, 0, true}};
    writer.Settled(outcome);
    TPassRecord record;
    {
      const TFileSizeLimit limit(fs::file_size(writer.Path()));
      ASSERT_TRUE(limit.Applied());
      record = FinishRenameRecord(writer, TPassStopped::No, {place, {}, false, TRetention{}});
    }
    EXPECT_EQ(record.JournalError, (TError{EFBIG, TErrorKind::Write, record.Journal}));
    EXPECT_FALSE(record.Ok());
    EXPECT_EQ(record.Renamed, 1u);
    EXPECT_FALSE(record.JournalRemoved);
    TJournal journal;
    const std::optional<TRecordFile> unfinished = UnfinishedPass(Records(), journal);
    ASSERT_TRUE(unfinished);
    EXPECT_EQ(unfinished->Journal, record.Journal);
  }
}

TEST_F(PassRecordTest, APassWithoutRowsLeavesNothing) {
  TPassJournalWriter writer;
  const TJournalStart start = StartPassJournal(Records(), {}, std::nullopt, TDurability::Kernel, writer);
  ASSERT_TRUE(start.Created()) << start.Error;
  const TPassRecord record = KeepPassRecord(writer, false, 50);
  EXPECT_TRUE(record.Ok());
  EXPECT_EQ(record.Record, "");
  EXPECT_TRUE(fs::is_empty(Records()));
}

TEST_F(PassRecordTest, ARecoverMarksTheJournalItUndidAndRemovesItsOwn) {
  TPassRecord renamed;
  TPassJournalWriter recover;
  ASSERT_NO_FATAL_FAILURE(RenameOneThenStartRecover(renamed, recover));
  const TPassRecord undone = EndRecoverJournal(recover, renamed.Journal, TPassStopped::No);
  EXPECT_TRUE(undone.Ok());
  EXPECT_FALSE(fs::exists(undone.Journal));
  TExpected<TJournal> loaded = LoadJournal(renamed.Journal);
  ASSERT_TRUE(loaded) << loaded.Error();
  TJournal& journal = *loaded;
  EXPECT_EQ(StateOf(journal), TPassState::Undone);
}

// A recover that ran to its end marks the record undone, or partly undone with
// the rows it left, so the next "last record" passes over it; a stopped one
// leaves it unmarked.
TEST_F(PassRecordTest, ARecoverMarksTheJournalItRanOverToItsEnd) {
  struct Case {
    const char* what;
    TRenameStatus status;
    bool attempted;
    TPassStopped stop;
    TPassState marked;
    std::size_t left;
  };
  const Case cases[] = {
      {"all back", TRenameStatus::rsOk, true, TPassStopped::No, TPassState::Undone, 0},
      {"a rename back refused", TRenameStatus::rsError, true, TPassStopped::No, TPassState::PartlyUndone, 1},
      {"a file gone", TRenameStatus::rsFileNotFound, true, TPassStopped::No, TPassState::PartlyUndone, 1},
      {"a row refused before its rename", TRenameStatus::rsError, false, TPassStopped::No, TPassState::PartlyUndone, 1},
      {"stopped", TRenameStatus::rsOk, true, TPassStopped::Yes, TPassState::CanBeUndone, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TPassRecord renamed;
    TPassJournalWriter recover;
    ASSERT_NO_FATAL_FAILURE(RenameOneThenStartRecover(renamed, recover));
    const std::string folder = Files();
    const std::vector<TJournalEntry> row{{0, folder, "xa", "a", c.status, 0, c.attempted}};
    if (c.attempted) {
      ASSERT_TRUE(recover.Intend(row));
    }
    recover.Settled(row);
    EXPECT_TRUE(EndRecoverJournal(recover, renamed.Journal, c.stop).Ok());
    TExpected<TJournal> loaded = LoadJournal(renamed.Journal);
    ASSERT_TRUE(loaded) << loaded.Error();
    TJournal& journal = *loaded;
    EXPECT_EQ(StateOf(journal), c.marked);
    EXPECT_EQ(LeftRowsOf(journal).size(), c.left);
  }
}

}  // namespace
}  // namespace vt::test
