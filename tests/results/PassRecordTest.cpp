// A pass's journal turned into its record: the rows settled from the disk, the
// result file private, and the journal kept whenever the record falls short.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "results/JournalReader.h"
#include "results/PassJournals.h"
#include "results/PassRecord.h"
#include "results/ResultFile.h"
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
    ASSERT_EQ(start.Error, "");
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
    ASSERT_EQ(StartPassJournal(Records(), {TJournalKind::Recover, 0, renamed.Journal, "recover"}, std::nullopt,
                               TDurability::Kernel, recover)
                  .Error,
              "");
  }

  TTempFolder Dir;
};

TEST_F(PassRecordTest, TheRecordHoldsTheRowsSettledFromTheDiskAndIsPrivate) {
  TPassJournalWriter writer;
  RenameOne(writer);
  EXPECT_EQ(fs::status(Records()).permissions() & fs::perms::all, fs::perms::owner_all);
  const TPassRecord record = KeepPassRecord(writer, true, 50);
  ASSERT_TRUE(record.Ok());
  EXPECT_EQ(record.Renamed, 1u);
  EXPECT_EQ(record.Record, ResultPathFor(record.Journal));
  EXPECT_EQ(fs::status(record.Record).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  TResultTable table;
  ASSERT_TRUE(LoadResultFile(record.Record, table).Ok());
  ASSERT_EQ(table.RowCount(), 1u);
  EXPECT_EQ(table.Row(0).NewName, "xa");
  TJournal journal;
  int error = 0;
  ASSERT_TRUE(LoadJournal(record.Journal, journal, error));
  EXPECT_EQ(journal.End, TJournalEnd::Stopped);
}

TEST_F(PassRecordTest, ARecordThatCannotBeWrittenLeavesTheJournalAndSaysHowManyWereRenamed) {
  TPassJournalWriter writer;
  RenameOne(writer);
  // Something else holds the record's name: the save must fail.
  fs::create_directories(ResultPathFor(writer.Path()) + "/taken");
  const TPassRecord record = KeepPassRecord(writer, false, 50);
  EXPECT_FALSE(record.Ok());
  EXPECT_FALSE(record.Saved.Ok());
  EXPECT_EQ(record.Record, "");
  EXPECT_EQ(record.Renamed, 1u);
  EXPECT_TRUE(fs::exists(record.Journal));
}

TEST_F(PassRecordTest, APassWithoutRowsLeavesNothing) {
  TPassJournalWriter writer;
  ASSERT_EQ(StartPassJournal(Records(), {}, std::nullopt, TDurability::Kernel, writer).Error, "");
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
  TJournal journal;
  int error = 0;
  ASSERT_TRUE(LoadJournal(renamed.Journal, journal, error));
  EXPECT_TRUE(journal.Recovered);
}

// A recover that did not bring every file back leaves the record for the next
// "last record"; only a complete one marks it.
TEST_F(PassRecordTest, ARecoverMarksTheJournalOnlyWhenEveryRowWentBack) {
  struct Case {
    const char* what;
    TRenameStatus status;
    bool attempted;
    TPassStopped stop;
    bool marked;
  };
  const Case cases[] = {
      {"all back", TRenameStatus::rsOk, true, TPassStopped::No, true},
      {"a rename back refused", TRenameStatus::rsError, true, TPassStopped::No, false},
      {"a file gone", TRenameStatus::rsFileNotFound, false, TPassStopped::No, false},
      {"a row refused before its rename", TRenameStatus::rsError, false, TPassStopped::No, false},
      {"stopped", TRenameStatus::rsOk, true, TPassStopped::Yes, false},
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
    TJournal journal;
    int error = 0;
    ASSERT_TRUE(LoadJournal(renamed.Journal, journal, error));
    EXPECT_EQ(journal.Recovered, c.marked);
  }
}

}  // namespace
}  // namespace vt::test
