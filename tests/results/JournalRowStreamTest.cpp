// A journal streamed into a result file gives, byte for byte, the file that the
// journal read whole and settled from the disk gives: wherever the journal was
// cut, and also when its blocks come out of order. So do the rows a recover
// reads from it, with the files they recorded, and what a scan says of the pass.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <list>
#include <optional>
#include <string>
#include <vector>

#include "passes/PassJournalWriter.h"
#include "passes/UndoThread.h"
#include "results/JournalReader.h"
#include "results/JournalRowStream.h"
#include "results/RecordToRecover.h"
#include "results/ResultFile.h"
#include "support/ErrorPrint.h"
#include "support/TempFolder.h"

namespace vt::test {
namespace {

// None for a stream that opened, else why not.
std::optional<TError> OpenError(TJournalRowStream& rows) {
  const TExpected<void> opened = rows.Open();
  if (opened) return std::nullopt;
  return opened.Error();
}

namespace fs = std::filesystem;

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Written ahead, the intents of a block go out before the outcomes of the one before.
enum class TWrites { InTurn, Ahead };

class JournalRowStreamTest : public ::testing::Test {
 protected:
  std::string Journal() const { return (Dir.Path() / "pass.vtj").string(); }
  std::string Folder() const { return (Dir.Path() / "files").string() + "/"; }

  // A pass as the rename pass writes it, in blocks of 256 rows: renames that
  // stood or were refused (under another name), rows that renamed nothing
  // between them, a stop that withdrew the rest of a block, and a last block
  // whose outcomes never reached the journal (the process died).
  void WritePass(TWrites writes = TWrites::InTurn) {
    fs::create_directories(Folder());
    TPassJournalWriter writer;
    ASSERT_TRUE(writer.Create(Journal(), TDurability::Kernel, {TJournalKind::Rename, 1, Folder(), "*"}));
    const std::string folder = Folder();
    std::vector<std::string> names;
    for (int i = 0; i < 6 * 256; ++i) names.push_back("f" + std::to_string(i) + std::string(std::size_t(i % 40), 'x'));
    std::vector<std::string> newNames;
    for (const std::string& name : names) newNames.push_back("n-" + name);
    std::vector<TJournalEntry> settled;
    std::vector<TJournalEntry> withdrawn;
    for (std::size_t block = 0; block < 6; ++block) {
      std::vector<TJournalEntry> intents;
      if (writes == TWrites::InTurn) {
        settled.clear();
        withdrawn.clear();
      }
      std::vector<TJournalEntry> settledNow;
      std::vector<TJournalEntry> withdrawnNow;
      for (std::size_t i = block * 256; i < (block + 1) * 256; ++i) {
        TJournalEntry entry{i, folder, names[i], newNames[i], TRenameStatus::rsOk, 0, true};
        // Some intents record the file they move, as a pass of this version does.
        if (i % 3 == 1) entry.Identity = TFileIdentity{1, i, 0, 0, 0100644};
        if (i % 5 == 0) {
          entry.Attempted = false;
          entry.NewName = "";
          entry.Status = i % 2 ? TRenameStatus::rsNoChange : TRenameStatus::rsNoMatch;
        } else {
          intents.push_back(entry);
        }
        if (i % 7 == 0 && entry.Attempted) {
          Stranded.push_back("stranded-" + std::to_string(i));  // entries only view their names
          entry.Status = TRenameStatus::rsError;
          entry.Error = 17;
          entry.NewName = Stranded.back();
        }
        if (block == 4 && i % 256 > 200 && entry.Attempted)
          withdrawnNow.push_back(entry);
        else
          settledNow.push_back(entry);
      }
      ASSERT_TRUE(writer.Intend(intents));
      if (writes == TWrites::Ahead) {
        writer.Settled(settled);
        writer.Withdrawn(withdrawn);
        settled = std::move(settledNow);
        withdrawn = std::move(withdrawnNow);
      }
      if (block == 5) {
        // Never settled: some renames happened, some did not, one left both names.
        for (std::size_t i = block * 256; i < (block + 1) * 256; i += 3) std::ofstream(Folder() + newNames[i]) << "n";
        std::ofstream(Folder() + names[block * 256 + 3]) << "o";
        break;
      }
      if (writes == TWrites::InTurn) {
        writer.Settled(settledNow);
        writer.Withdrawn(withdrawnNow);
      }
    }
    // The writer is dropped without Finish, as a process that dies leaves it.
  }

  // The record as the whole read gives it.
  std::string WholeRecord(const std::string& journal) {
    TExpected<TJournal> loaded = LoadJournal(journal);
    EXPECT_TRUE(loaded) << loaded.Error();
    if (!loaded) return {};
    TJournal& read = *loaded;
    SettleFromDisk(read);
    TResultTable table;
    JournalToTable(read, table);
    WholeRenamed = RenamedRows(read);
    return WriteResultStream(table);
  }

  // The rows a recover takes from the whole read, one line each with the file recorded.
  static std::string UndoRowsText(const TUndoList& list) {
    std::string text;
    for (std::size_t i = 0; i < list.size(); ++i) {
      const TUndoList::TRow row = list[i];
      text.append(row.Path).append("|").append(row.NewFileName).append("|").append(row.OldFileName);
      text += "|" + std::to_string(row.Status ? static_cast<int>(*row.Status) : -1) + "|" +
              std::to_string(static_cast<int>(row.Texts));
      if (row.Identity) text += "|" + std::to_string(row.Identity->Inode);
      text += "\n";
    }
    return text;
  }
  std::string WholeUndoRows(const std::string& journal) {
    TExpected<TJournal> loaded = LoadSettledJournal(journal);
    if (!loaded) return {};
    TResultTable table;
    JournalToTable(*loaded, table);
    return UndoRowsText(TUndoThread::BuildUndoList(table));
  }

  std::string StreamedRecord(TJournalRowStream& rows) {
    EXPECT_EQ(OpenError(rows), std::nullopt);
    const std::string path = (Dir.Path() / "streamed.vtr").string();
    EXPECT_TRUE(SaveResultRows(rows, path));
    return Bytes(path);
  }

  std::list<std::string> Stranded;
  std::size_t WholeRenamed = 0;
  TTempFolder Dir;
};

class JournalRowStreamCutTest : public JournalRowStreamTest, public ::testing::WithParamInterface<TWrites> {};

TEST_P(JournalRowStreamCutTest, GivesTheFileOfTheWholeReadWhereverTheJournalWasCut) {
  WritePass(GetParam());
  const std::string whole = Bytes(Journal());
  // Every block boundary, and a few bytes into every block.
  std::vector<std::size_t> cuts{whole.size()};
  for (std::size_t offset = kJournalSignature.size(); offset + kJournalBlockHeader <= whole.size();) {
    std::size_t length = 0;
    for (std::size_t i = 0; i < 4; ++i) length |= std::size_t{static_cast<unsigned char>(whole[offset + i])} << (8 * i);
    cuts.push_back(offset + 5);
    offset += kJournalBlockHeader + length;
    cuts.push_back(offset);
  }
  const std::string cut = (Dir.Path() / "cut.vtj").string();
  for (const std::size_t size : cuts) {
    SCOPED_TRACE(size);
    if (size > whole.size()) continue;
    std::ofstream(cut, std::ios::binary | std::ios::trunc) << whole.substr(0, size);
    TJournalRowStream rows(cut);
    if (const TExpected<TJournal> read = LoadJournal(cut); !read) {  // cut inside its header: no journal
      EXPECT_EQ(OpenError(rows), read.Error());
      continue;
    }
    // A scan looks at no disk: it goes first, before any row is settled.
    TJournal marks;
    TJournalRowStream scanned(cut);
    ASSERT_TRUE(scanned.Scan(marks));
    const TExpected<TJournal> unsettled = LoadJournal(cut);
    EXPECT_EQ(scanned.ReadCount(), unsettled->Rows.size());
    EXPECT_EQ(marks.End, unsettled->End);
    EXPECT_EQ(marks.Header.StartedUtcNs, unsettled->Header.StartedUtcNs);
    const std::string streamed = StreamedRecord(rows);
    EXPECT_TRUE(streamed == WholeRecord(cut));
    EXPECT_EQ(rows.RenamedCount(), WholeRenamed);
    const TExpected<TUndoList> undo = LoadJournalToUndo(cut);
    ASSERT_TRUE(undo);
    EXPECT_TRUE(UndoRowsText(*undo) == WholeUndoRows(cut));
  }
}

// The rows of a block stay while the next block's intents are read, and the
// outcomes that settle them come after those: their texts outlive the blocks read since.
INSTANTIATE_TEST_SUITE_P(Writes, JournalRowStreamCutTest, ::testing::Values(TWrites::InTurn, TWrites::Ahead));

TEST_F(JournalRowStreamTest, BlocksOutOfOrderStillGiveTheFileOfTheWholeRead) {
  fs::create_directories(Folder());
  const std::string folder = Folder();
  TPassJournalWriter writer;
  ASSERT_TRUE(writer.Create(Journal(), TDurability::Kernel, {TJournalKind::Rename, 1, folder, "*"}));
  const std::vector<TJournalEntry> first{{0, folder, "a", "xa", TRenameStatus::rsOk, 0, true},
                                         {1, folder, "b", "xb", TRenameStatus::rsOk, 0, true}};
  ASSERT_TRUE(writer.Intend(first));
  writer.Settled(first);
  const std::vector<TJournalEntry> second{{2, folder, "c", "xc", TRenameStatus::rsOk, 0, true}};
  ASSERT_TRUE(writer.Intend(second));
  // A row already passed named again: its outcome changes, then a new intent replaces it.
  writer.Settled(std::vector<TJournalEntry>{{0, folder, "a", "xa", TRenameStatus::rsError, 5, true}});
  ASSERT_TRUE(writer.Intend(std::vector<TJournalEntry>{{1, folder, "b", "yb", TRenameStatus::rsOk, 0, true}}));
  writer.Settled(std::vector<TJournalEntry>{{1, folder, "b", "yb", TRenameStatus::rsOk, 0, true}, second[0]});
  ASSERT_TRUE(writer.Finish(TJournalEnd::Completed));

  TJournalRowStream rows(Journal());
  const std::string streamed = StreamedRecord(rows);
  EXPECT_TRUE(streamed == WholeRecord(Journal()));
  EXPECT_EQ(rows.RowCount(), 3u);
  EXPECT_EQ(rows.RenamedCount(), 2u);
}

// A missing file is a read that failed; bytes of something else are no journal.
TEST_F(JournalRowStreamTest, AFileThatIsNoJournalIsRefused) {
  const std::string none = (Dir.Path() / "none.vtj").string();
  TJournalRowStream missing(none);
  EXPECT_EQ(OpenError(missing), (TError{ENOENT, TErrorKind::Read, none}));
  const std::string text = (Dir.Path() / "text.vtj").string();
  std::ofstream(text) << "not a journal at all";
  TJournalRowStream other(text);
  EXPECT_EQ(OpenError(other), (TError{EINVAL, TErrorKind::NotJournal, text}));
}

}  // namespace
}  // namespace vt::test
