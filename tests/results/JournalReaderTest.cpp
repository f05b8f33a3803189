// A journal read back: rows in the order of the pass, outcomes joined to their
// intents, and a tail cut anywhere or damaged ends the rows without harm.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "passes/PassJournalWriter.h"
#include "results/FailureKind.h"
#include "results/JournalReader.h"
#include "results/ResultFile.h"
#include "support/RowTexts.h"
#include "support/TempFolder.h"

namespace vt::test {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TJournalEntry Entry(std::uint64_t row, std::string_view folder, std::string_view oldName, std::string_view newName,
                    TRenameStatus status = TRenameStatus::rsCanBeRenamed, bool attempted = true, int error = 0) {
  return TJournalEntry{row, folder, oldName, newName, status, error, attempted};
}

class JournalReaderTest : public ::testing::Test {
 protected:
  std::string Path() const { return (Dir.Path() / "pass.vtj").string(); }

  // A pass of three blocks: renames, a row that renamed nothing, a refused rename.
  void WritePass(TJournalEnd* end) {
    TPassJournalWriter writer;
    ASSERT_EQ(
        writer.Create(Path(), TDurability::Kernel, {TJournalKind::Rename, 1234567890123456789ULL, "/d/", "*.txt"}), 0);
    const std::vector<TJournalEntry> first{Entry(0, "/d/", "a", "xa"), Entry(1, "/d/", "b", "xb")};
    ASSERT_TRUE(writer.Intend(first));
    writer.Settled(std::vector<TJournalEntry>{Entry(0, "/d/", "a", "xa", TRenameStatus::rsOk),
                                              Entry(1, "/d/", "b", "xb", TRenameStatus::rsOk)});
    const std::vector<TJournalEntry> second{Entry(3, "/d/sub/", "c", "xc")};
    ASSERT_TRUE(writer.Intend(second));
    writer.Settled(
        std::vector<TJournalEntry>{Entry(2, "/d/", "same", "", TRenameStatus::rsNoChange, false),
                                   Entry(3, "/d/sub/", "c", "c.stranded", TRenameStatus::rsError, true, 17)});
    if (end != nullptr) {
      EXPECT_EQ(writer.Finish(*end), 0);
    }
  }

  TTempFolder Dir;
};

TEST_F(JournalReaderTest, RowsComeBackInTheOrderOfThePass) {
  TJournalEnd end = TJournalEnd::Completed;
  WritePass(&end);
  TExpected<TJournal, int> loaded = LoadJournal(Path());
  ASSERT_TRUE(loaded) << loaded.Error();
  TJournal& journal = *loaded;
  EXPECT_EQ(journal.Header.StartedUtcNs, 1234567890123456789ULL);
  EXPECT_EQ(journal.Header.Folder, "/d/");
  ASSERT_EQ(journal.End, TJournalEnd::Completed);
  EXPECT_FALSE(journal.TornTail);
  EXPECT_FALSE(journal.Recovered);
  TResultTable table;
  JournalToTable(journal, table);
  ASSERT_EQ(table.RowCount(), 4u);
  const std::vector<std::vector<std::string>> expected{{"a", "xa", "/d/", "Ok"},
                                                       {"b", "xb", "/d/", "Ok"},
                                                       {"same", "", "/d/", "No change"},
                                                       {"c", "c.stranded", "/d/sub/", "Error"}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const TResultRow& row = table.Row(i);
    EXPECT_EQ(test::RowTexts(row), expected[i]);
  }
  EXPECT_EQ(journal.Rows[3].Error, 17);
  EXPECT_EQ(RenamedRows(journal), 2u);
}

std::size_t HeaderEnd(std::string_view bytes) {
  std::size_t offset = kJournalSignature.size();
  EXPECT_TRUE(NextJournalBlock(bytes, offset));
  return offset;
}

// Every row read from a cut or damaged journal is a row of the whole one.
void ExpectRowsOf(const TJournal& part, const TJournal& whole, std::size_t where) {
  for (const TJournalRow& row : part.Rows) {
    ASSERT_LT(row.Index, whole.Rows.size()) << where;
    const TJournalRow& full = whole.Rows[row.Index];
    EXPECT_EQ(row.OldName, full.OldName) << where;
    EXPECT_EQ(row.Folder, full.Folder) << where;
    if (row.Settled) {
      EXPECT_EQ(row.Status, full.Status) << where;
    }
  }
}

TEST_F(JournalReaderTest, ATailCutAnywhereLeavesTheIntactBlocks) {
  TJournalEnd end = TJournalEnd::Completed;
  WritePass(&end);
  const std::string whole = Bytes(Path());
  TJournal full;
  ASSERT_TRUE(ReadJournal(whole, full));
  const std::size_t headerEnd = HeaderEnd(whole);
  std::size_t unsettledSeen = 0;
  for (std::size_t size = 0; size < whole.size(); ++size) {
    TJournal journal;
    const bool read = ReadJournal(whole.substr(0, size), journal);
    EXPECT_EQ(read, size >= headerEnd) << size;
    EXPECT_FALSE(journal.End) << size;
    ExpectRowsOf(journal, full, size);
    for (const TJournalRow& row : journal.Rows) unsettledSeen += row.Settled ? 0 : 1;
  }
  // Some cuts fall between an intent and its outcome.
  EXPECT_GT(unsettledSeen, 0u);
}

TEST_F(JournalReaderTest, ADamagedByteEndsTheRowsWhereItIs) {
  TJournalEnd end = TJournalEnd::Completed;
  WritePass(&end);
  const std::string bytes = Bytes(Path());
  TJournal intact;
  ASSERT_TRUE(ReadJournal(bytes, intact));
  for (std::size_t at = HeaderEnd(bytes); at < bytes.size(); ++at) {
    std::string damaged = bytes;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x20);
    TJournal journal;
    ASSERT_TRUE(ReadJournal(damaged, journal)) << at;
    EXPECT_TRUE(journal.TornTail) << at;
    EXPECT_FALSE(journal.End) << at;
    ExpectRowsOf(journal, intact, at);
  }
}

TEST_F(JournalReaderTest, NeverTakenForAResultFileNorTheOtherWayRound) {
  WritePass(nullptr);
  TResultTable table;
  EXPECT_EQ(FailureKind(LoadResultFile(Path(), table)), TResultFileError::NotAResultFile);
  table.AppendRow("a", "b", "/d/", "Ok");
  const std::string resultPath = (Dir.Path() / "r.vtr").string();
  ASSERT_TRUE(SaveResultFile(table, resultPath));
  const TExpected<TJournal, int> journal = LoadJournal(resultPath);
  ASSERT_FALSE(journal);
  EXPECT_EQ(journal.Error(), EINVAL);
  EXPECT_FALSE(IsJournal(Bytes(resultPath)));
}

TEST_F(JournalReaderTest, MissingOutcomesAreSettledFromTheDisk) {
  const std::string folder = Dir.Path().string() + "/";
  struct Case {
    const char* Old;
    const char* New;
    bool OldThere, NewThere;
    bool Row;
    TRenameStatus Status;
  };
  const std::vector<Case> cases{
      {"renamed", "renamed.new", false, true, true, TRenameStatus::rsOk},
      {"untouched", "untouched.new", true, false, false, TRenameStatus::rsOk},
      {"both", "both.new", true, true, true, TRenameStatus::rsError},
      {"gone", "gone.new", false, false, false, TRenameStatus::rsOk},
  };
  TJournal journal;
  std::uint64_t index = 0;
  for (const Case& c : cases) {
    if (c.OldThere) std::ofstream(folder + c.Old) << "x";
    if (c.NewThere) std::ofstream(folder + c.New) << "x";
    TJournalRow row;
    row.Index = index++;
    row.Folder = folder;
    row.OldName = c.Old;
    row.NewName = c.New;
    row.Attempted = true;
    row.Settled = false;
    journal.Rows.push_back(row);
  }
  SettleFromDisk(journal);
  std::size_t at = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Old);
    if (!c.Row) continue;
    ASSERT_LT(at, journal.Rows.size());
    EXPECT_EQ(journal.Rows[at].OldName, c.Old);
    EXPECT_EQ(journal.Rows[at].Status, c.Status);
    ++at;
  }
  EXPECT_EQ(at, journal.Rows.size());
}

TEST_F(JournalReaderTest, WithdrawnRenamesLeaveNoRowAndARecoveredMarkIsRead) {
  {
    TPassJournalWriter writer;
    ASSERT_EQ(writer.Create(Path(), TDurability::Kernel, {TJournalKind::Rename, 1, "/d/", ""}), 0);
    const std::vector<TJournalEntry> intents{Entry(0, "/d/", "a", "xa"), Entry(1, "/d/", "b", "xb")};
    ASSERT_TRUE(writer.Intend(intents));
    writer.Settled(std::vector<TJournalEntry>{Entry(0, "/d/", "a", "xa", TRenameStatus::rsOk)});
    writer.Withdrawn(std::vector<TJournalEntry>{Entry(1, "/d/", "b", "xb")});
    EXPECT_EQ(writer.RenamedCount(), 1u);
    ASSERT_EQ(writer.Finish(TJournalEnd::Stopped), 0);
  }
  std::ofstream(Path(), std::ios::app | std::ios::binary) << RecoveredMark(2);
  TExpected<TJournal, int> loaded = LoadJournal(Path());
  ASSERT_TRUE(loaded) << loaded.Error();
  TJournal& journal = *loaded;
  ASSERT_EQ(journal.Rows.size(), 1u);
  EXPECT_EQ(journal.Rows[0].OldName, "a");
  EXPECT_EQ(journal.End, TJournalEnd::Stopped);
  EXPECT_TRUE(journal.Recovered);
}

// A recover writes the rows of a chain last first, and a withdrawn rename
// among them leaves no row: read back by index all the same.
TEST_F(JournalReaderTest, RowsWrittenOutOfOrderComeBackByIndex) {
  TPassJournalWriter writer;
  ASSERT_EQ(writer.Create(Path(), TDurability::Kernel, {TJournalKind::Recover, 1, "/x.vtj", "recover"}), 0);
  const std::vector<std::string> names{"0", "1", "2", "3", "4", "5", "6"};
  for (std::size_t block = 2; block-- > 0;) {
    std::vector<TJournalEntry> entries;
    for (std::size_t row = block * 3 + 3; row-- > block * 3;)
      entries.push_back(Entry(row, "/d/", names[row + 1], names[row]));
    ASSERT_TRUE(writer.Intend(entries));
    if (block == 0) {
      writer.Withdrawn(std::vector<TJournalEntry>{entries.back()});
      entries.pop_back();
    }
    for (TJournalEntry& entry : entries) entry.Status = TRenameStatus::rsOk;
    writer.Settled(entries);
  }
  ASSERT_EQ(writer.Finish(TJournalEnd::Completed), 0);
  TExpected<TJournal, int> loaded = LoadJournal(Path());
  ASSERT_TRUE(loaded) << loaded.Error();
  std::vector<std::uint64_t> indexes;
  for (const TJournalRow& row : loaded->Rows) {
    indexes.push_back(row.Index);
    EXPECT_EQ(row.OldName, names[row.Index + 1]);
    EXPECT_EQ(row.Status, TRenameStatus::rsOk);
  }
  EXPECT_EQ(indexes, (std::vector<std::uint64_t>{1, 2, 3, 4, 5}));
}

}  // namespace
}  // namespace vt::test
