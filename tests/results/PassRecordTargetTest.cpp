// The one ending of a pass's record both front ends share: where the rows go,
// what stays of the journal, and what a recover marks, told as codes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "results/JournalReader.h"
#include "results/PassJournals.h"
#include "results/PassRecord.h"
#include "results/ResultFile.h"
#include "results/UndoneMark.h"
#include "support/ErrorPrint.h"
#include "support/TempFolder.h"

namespace vt::test {
namespace {

namespace fs = std::filesystem;

class PassRecordTarget : public ::testing::Test {
 protected:
  std::string Records() const { return Dir.Folder() + "records/"; }
  std::string Files() const { return Dir.Folder() + "files/"; }

  // Starts a rename journal; with a row, records the rename of a to xa, carried out on disk.
  void StartRename(TPassJournalWriter& writer, bool withRow) {
    fs::create_directories(Files());
    const TJournalStart start =
        StartPassJournal(Records(), {TJournalKind::Rename, 0, Files(), "*"}, std::nullopt, TDurability::Kernel, writer);
    ASSERT_TRUE(start.Created()) << start.Error;
    if (!withRow) return;
    std::ofstream(Files() + "xa") << "x";
    const std::string folder = Files();  // the entry only views it
    const std::vector<TJournalEntry> intent{{0, folder, "a", "xa", TRenameStatus::rsCanBeRenamed, 0, true}};
    ASSERT_TRUE(writer.Intend(intent));
    writer.Settled(std::vector<TJournalEntry>{{0, folder, "a", "xa", TRenameStatus::rsOk, 0, true}});
  }

  TTempFolder Dir;
};

TEST_F(PassRecordTarget, TheRowsGoWhereTheTargetSaysAndTheJournalStaysWhileItHoldsRows) {
  enum class TAtPath { Nothing, EmptyFile, LinkToFile };
  struct Case {
    const char* What;
    TRecordPlace Place;
    bool Row;
    TAtPath AtPath;    // what the result file's path holds before the end (automatic: the name beside the journal)
    bool Created;      // the target's file was made for this pass
    bool Saved;        // the record is kept
    bool JournalKept;  // the journal is still there
    bool FileLeft;     // something is at the result file's path afterwards
  };
  const std::vector<Case> cases = {
      // The journal is the record: no result file is made beside it, and what is there stays as it was.
      {"automatic", TRecordPlace::Automatic, true, TAtPath::Nothing, false, true, true, false},
      {"automatic, no row", TRecordPlace::Automatic, false, TAtPath::Nothing, false, true, false, false},
      {"automatic, a file there", TRecordPlace::Automatic, true, TAtPath::EmptyFile, false, true, true, true},
      {"automatic, a link planted", TRecordPlace::Automatic, true, TAtPath::LinkToFile, false, true, true, true},
      {"named", TRecordPlace::Named, true, TAtPath::EmptyFile, true, true, true, true},
      {"named through a link", TRecordPlace::Named, true, TAtPath::LinkToFile, false, true, true, true},
      {"named, created, no row", TRecordPlace::Named, false, TAtPath::EmptyFile, true, true, false, false},
      {"named, there before, no row", TRecordPlace::Named, false, TAtPath::EmptyFile, false, true, false, true},
      {"none", TRecordPlace::None, true, TAtPath::Nothing, false, true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    fs::remove_all(Records());
    fs::remove_all(Files());
    TPassJournalWriter writer;
    ASSERT_NO_FATAL_FAILURE(StartRename(writer, c.Row));
    const std::string path = c.Place == TRecordPlace::Named ? Dir.Folder() + "mine.vtr" : ResultPathFor(writer.Path());
    fs::remove(path);
    fs::remove(Dir.Folder() + "elsewhere");
    if (c.AtPath == TAtPath::EmptyFile) std::ofstream(path) << "";
    if (c.AtPath == TAtPath::LinkToFile) {
      Dir.WriteFile("elsewhere", "");
      fs::create_symlink(Dir.Folder() + "elsewhere", path);
    }
    const TPassRecord record = FinishRenameRecord(
        writer, TPassStopped::No, {c.Place, c.Place == TRecordPlace::Named ? path : "", c.Created, TRetention{}});
    // Without a result file the journal is not read back.
    EXPECT_EQ(record.Rows, c.Row && c.Place != TRecordPlace::None ? 1u : 0u);
    EXPECT_EQ(record.Renamed, c.Row ? 1u : 0u);
    EXPECT_EQ(record.Saved.HasValue(), c.Saved);
    EXPECT_EQ(record.Ok(), c.Saved);
    EXPECT_EQ(fs::exists(record.Journal), c.JournalKept);
    EXPECT_EQ(record.JournalRemoved, !c.JournalKept);
    EXPECT_EQ(fs::exists(fs::symlink_status(path)), c.FileLeft);
    const bool written = c.Saved && c.Row && c.Place == TRecordPlace::Named;
    const bool kept = c.Row && c.Place == TRecordPlace::Automatic;
    EXPECT_EQ(record.Record, written ? path : kept ? record.Journal : "");
    if (written) {
      TResultTable table;
      ASSERT_TRUE(LoadResultFile(path, table));
      ASSERT_EQ(table.RowCount(), 1u);
      EXPECT_EQ(table.Row(0).NewName, "xa");
    }
    if (kept) {
      TExpected<TJournal> journal = LoadJournal(record.Journal);
      ASSERT_TRUE(journal) << journal.Error();
      EXPECT_EQ(journal->End, TJournalEnd::Completed);
      EXPECT_EQ(journal->Rows.size(), 1u);
      EXPECT_EQ(fs::status(record.Journal).permissions() & fs::perms::all,
                fs::perms::owner_read | fs::perms::owner_write);
    }
    // Nothing is written at the name beside an automatic record; the file a link there points at stays untouched.
    if (c.AtPath == TAtPath::LinkToFile && c.Place == TRecordPlace::Automatic) {
      EXPECT_EQ(Dir.ReadFile("elsewhere"), "");
    }
  }
}

TEST_F(PassRecordTarget, ARecoverMarksTheJournalItUndidOnlyWhenItRanToItsEnd) {
  struct Case {
    const char* What;
    TRecoverEnd End;
    bool OwnJournalKept;
    TPassState Marked;
  };
  const std::vector<Case> cases = {
      {"completed", TRecoverEnd::Completed, false, TPassState::Undone},
      {"stopped", TRecoverEnd::Stopped, false, TPassState::CanBeUndone},
      {"its file changed under it", TRecoverEnd::SourceChanged, true, TPassState::CanBeUndone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    fs::remove_all(Records());
    fs::remove_all(Files());
    TPassJournalWriter rename;
    ASSERT_NO_FATAL_FAILURE(StartRename(rename, true));
    const TPassRecord renamed = KeepPassRecord(rename, false, 50);
    ASSERT_TRUE(renamed.Ok());
    TPassJournalWriter recover;
    ASSERT_TRUE(StartPassJournal(Records(), {TJournalKind::Recover, 0, renamed.Journal, "recover"}, std::nullopt,
                                 TDurability::Kernel, recover)
                    .Created());
    const std::string folder = Files();
    const std::vector<TJournalEntry> row{{0, folder, "xa", "a", TRenameStatus::rsOk, 0, true}};
    ASSERT_TRUE(recover.Intend(row));
    recover.Settled(row);
    const TPassRecord ended = EndRecoverJournal(recover, renamed.Journal, c.End);
    EXPECT_TRUE(ended.Ok());
    EXPECT_EQ(ended.MarkError, std::nullopt);
    EXPECT_EQ(ended.Renamed, 1u);
    EXPECT_EQ(fs::exists(ended.Journal), c.OwnJournalKept);
    EXPECT_EQ(ended.Undone, c.End == TRecoverEnd::Completed ? renamed.Journal : "");
    const TExpected<TPassState> state = ReadPassState(renamed.Journal);
    ASSERT_TRUE(state) << state.Error();
    EXPECT_EQ(*state, c.Marked);
  }
}

}  // namespace
}  // namespace vt::test
