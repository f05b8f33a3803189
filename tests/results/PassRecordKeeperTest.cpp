// A pass's record kept on a worker: the owner takes what KeepPassRecord made,
// once, and nothing it leaves behind is half written, however early it goes.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "results/JournalReader.h"
#include "results/PassJournals.h"
#include "results/PassRecordKeeper.h"
#include "support/ErrorPrint.h"
#include "support/TempFolder.h"

namespace vt::test {
namespace {

namespace fs = std::filesystem;

class PassRecordKeeperTest : public ::testing::Test {
 protected:
  std::string Records() const { return (Dir.Path() / "records").string() + "/"; }

  // The journal of a pass that renamed `count` files fN to xfN, each rename's
  // outcome written: nothing needs settling from the disk.
  std::unique_ptr<TPassJournalWriter> RenamedJournal(std::size_t count) {
    auto writer = std::make_unique<TPassJournalWriter>();
    const std::string folder = (Dir.Path() / "files").string() + "/";
    fs::create_directories(folder);
    const TJournalStart start =
        StartPassJournal(Records(), {TJournalKind::Rename, 0, folder, "*"}, std::nullopt, TDurability::Kernel, *writer);
    EXPECT_TRUE(start.Created()) << start.Error;
    std::vector<std::string> names;
    names.reserve(2 * count);
    for (std::size_t i = 0; i < count; ++i) {
      names.push_back("f" + std::to_string(i));
      names.push_back("xf" + std::to_string(i));
    }
    std::vector<TJournalEntry> rows;
    for (std::size_t i = 0; i < count; ++i) {
      rows.push_back({i, folder, names[2 * i], names[2 * i + 1], TRenameStatus::rsCanBeRenamed, 0, true});
    }
    EXPECT_TRUE(writer->Intend(rows));
    for (TJournalEntry& row : rows) row.Status = TRenameStatus::rsOk;
    writer->Settled(rows);
    return writer;
  }

  // The record the journal became: ended, with every row, and no result file beside it.
  static void ExpectComplete(const std::string& journalPath, std::size_t rows) {
    TExpected<TJournal> journal = LoadJournal(journalPath);
    ASSERT_TRUE(journal) << journal.Error();
    EXPECT_EQ(journal->End, TJournalEnd::Completed);
    EXPECT_EQ(journal->Rows.size(), rows);
    EXPECT_FALSE(fs::exists(ResultPathFor(journalPath)));
  }

  TTempFolder Dir;
};

TEST_F(PassRecordKeeperTest, AnIdleKeeperHasNothingToTakeAndNothingToWaitFor) {
  TPassRecordKeeper keeper;
  EXPECT_TRUE(keeper.Idle());
  EXPECT_TRUE(keeper.Kept());
  EXPECT_TRUE(keeper.WaitFor(std::chrono::milliseconds(0)));
  EXPECT_FALSE(keeper.Take());
}

TEST_F(PassRecordKeeperTest, TheRecordIsTakenOnceTheWorkerHasKeptIt) {
  std::unique_ptr<TPassJournalWriter> journal = RenamedJournal(3);
  const std::string path = journal->Path();
  TPassRecordKeeper keeper;
  keeper.Keep(std::move(journal), TPassStopped::No, 50);
  EXPECT_FALSE(keeper.Idle());
  while (!keeper.WaitFor(std::chrono::milliseconds(100))) {
  }
  EXPECT_TRUE(keeper.Kept());
  const std::optional<TPassRecord> record = keeper.Take();
  ASSERT_TRUE(record);
  EXPECT_TRUE(record->Ok());
  EXPECT_EQ(record->Journal, path);
  EXPECT_EQ(record->Record, path);
  EXPECT_EQ(record->Renamed, 3u);
  ExpectComplete(path, 3);
  // Taken: the next taker finds nothing, so no record is reported twice.
  EXPECT_TRUE(keeper.Idle());
  EXPECT_FALSE(keeper.Take());
}

TEST_F(PassRecordKeeperTest, TakeWaitsForARecordStillBeingKept) {
  std::unique_ptr<TPassJournalWriter> journal = RenamedJournal(20000);
  const std::string path = journal->Path();
  TPassRecordKeeper keeper;
  keeper.Keep(std::move(journal), TPassStopped::No, 50);
  const std::optional<TPassRecord> record = keeper.Take();
  ASSERT_TRUE(record);
  EXPECT_TRUE(record->Ok());
  ExpectComplete(path, 20000);
}

// The owner goes (the window is destroyed) while the rows are still read back.
TEST_F(PassRecordKeeperTest, AKeeperDestroyedWhileKeepingLeavesTheRecordComplete) {
  std::unique_ptr<TPassJournalWriter> journal = RenamedJournal(20000);
  const std::string path = journal->Path();
  {
    TPassRecordKeeper keeper;
    keeper.Keep(std::move(journal), TPassStopped::No, 50);
  }
  ExpectComplete(path, 20000);
}

TEST_F(PassRecordKeeperTest, TheKeeperPrunesTheFolderToWhatItIsToKeep) {
  std::unique_ptr<TPassJournalWriter> first = RenamedJournal(2);
  const std::string firstPath = first->Path();
  ASSERT_TRUE(first->Finish(TJournalEnd::Completed));
  std::unique_ptr<TPassJournalWriter> second = RenamedJournal(2);
  const std::string secondPath = second->Path();
  TPassRecordKeeper keeper;
  keeper.Keep(std::move(second), TPassStopped::No, 1);
  const std::optional<TPassRecord> record = keeper.Take();
  ASSERT_TRUE(record);
  EXPECT_TRUE(record->Ok());
  EXPECT_FALSE(fs::exists(firstPath));
  ExpectComplete(secondPath, 2);
}

// A record nobody took before the next pass ended is still kept whole.
TEST_F(PassRecordKeeperTest, KeepingAnotherRecordFinishesTheOneNotTaken) {
  std::unique_ptr<TPassJournalWriter> first = RenamedJournal(5000);
  const std::string firstPath = first->Path();
  TPassRecordKeeper keeper;
  keeper.Keep(std::move(first), TPassStopped::No, 50);
  std::unique_ptr<TPassJournalWriter> second = RenamedJournal(1);
  ASSERT_NE(second->Path(), firstPath);
  const std::string secondPath = second->Path();
  keeper.Keep(std::move(second), TPassStopped::Yes, 50);
  const std::optional<TPassRecord> record = keeper.Take();
  ASSERT_TRUE(record);
  EXPECT_EQ(record->Journal, secondPath);
  ExpectComplete(firstPath, 5000);
  EXPECT_FALSE(keeper.Take());
}

}  // namespace
}  // namespace vt::test
