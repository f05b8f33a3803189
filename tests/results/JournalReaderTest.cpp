// A journal read back: rows in the order of the pass, outcomes joined to their
// intents, and a tail cut anywhere or damaged ends the rows without harm.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "passes/PassJournalWriter.h"
#include "platform/FileIdentity.h"
#include "results/FailureKind.h"
#include "results/JournalReader.h"
#include "results/JournalRowStream.h"
#include "results/PassJournals.h"
#include "results/ResultFile.h"
#include "support/ErrorPrint.h"
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
    ASSERT_TRUE(
        writer.Create(Path(), TDurability::Kernel, {TJournalKind::Rename, 1234567890123456789ULL, "/d/", "*.txt"}));
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
      EXPECT_TRUE(writer.Finish(*end));
    }
  }

  TTempFolder Dir;
};

TEST_F(JournalReaderTest, RowsComeBackInTheOrderOfThePass) {
  TJournalEnd end = TJournalEnd::Completed;
  WritePass(&end);
  TExpected<TJournal> loaded = LoadJournal(Path());
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
  for (const TJournalEntry& row : part.Rows) {
    ASSERT_LT(row.Row, whole.Rows.size()) << where;
    const TJournalEntry& full = whole.Rows[row.Row];
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
    for (const TJournalEntry& row : journal.Rows) unsettledSeen += row.Settled ? 0 : 1;
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
  const TExpected<TJournal> journal = LoadJournal(resultPath);
  ASSERT_FALSE(journal);
  EXPECT_EQ(journal.Error(), (TError{EINVAL, TErrorKind::NotJournal, resultPath}));
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
    TJournalEntry row;
    row.Row = index++;
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
    ASSERT_TRUE(writer.Create(Path(), TDurability::Kernel, {TJournalKind::Rename, 1, "/d/", ""}));
    const std::vector<TJournalEntry> intents{Entry(0, "/d/", "a", "xa"), Entry(1, "/d/", "b", "xb")};
    ASSERT_TRUE(writer.Intend(intents));
    writer.Settled(std::vector<TJournalEntry>{Entry(0, "/d/", "a", "xa", TRenameStatus::rsOk)});
    writer.Withdrawn(std::vector<TJournalEntry>{Entry(1, "/d/", "b", "xb")});
    EXPECT_EQ(writer.RenamedCount(), 1u);
    ASSERT_TRUE(writer.Finish(TJournalEnd::Stopped));
  }
  std::ofstream(Path(), std::ios::app | std::ios::binary) << RecoveredMark(2);
  TExpected<TJournal> loaded = LoadJournal(Path());
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
  ASSERT_TRUE(writer.Create(Path(), TDurability::Kernel, {TJournalKind::Recover, 1, "/x.vtj", "recover"}));
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
  ASSERT_TRUE(writer.Finish(TJournalEnd::Completed));
  TExpected<TJournal> loaded = LoadJournal(Path());
  ASSERT_TRUE(loaded) << loaded.Error();
  std::vector<std::uint64_t> indexes;
  for (const TJournalEntry& row : loaded->Rows) {
    indexes.push_back(row.Row);
    EXPECT_EQ(row.OldName, names[row.Row + 1]);
    EXPECT_EQ(row.Status, TRenameStatus::rsOk);
  }
  EXPECT_EQ(indexes, (std::vector<std::uint64_t>{1, 2, 3, 4, 5}));
}

// A pass killed between its intents and their outcomes, settled by the file
// each intent recorded, by the whole read and by the stream alike. Each case
// has a folder of its own where "a" was to become "b": what the rename (cut
// short) and others then did, and what the settled row and the folder must be.
enum class TReader { Whole, Stream };

class JournalSettleTest : public ::testing::TestWithParam<TReader> {};

constexpr const char* kTemp = ".vt-0123456789abcdef.tmp";

void Rename(const std::string& dir, const char* from, const char* to) { fs::rename(dir + from, dir + to); }
void Write(const std::string& dir, const char* name, const char* content) { std::ofstream(dir + name) << content; }

struct TSettleCase {
  const char* Label;
  void (*After)(const std::string& dir);
  bool Temporary;                       // the journal has kTemp on record for the row
  std::optional<TRenameStatus> Status;  // none: no row
  const char* NewName;                  // of the row
  std::vector<std::string> Names;       // the folder afterwards
};

const std::vector<TSettleCase> kSettleCases{
    {"renamed", [](const std::string& d) { Rename(d, "a", "b"); }, false, TRenameStatus::rsOk, "b", {"b"}},
    {"not renamed", [](const std::string&) {}, false, std::nullopt, "", {"a"}},
    {"renamed, its old name then taken by the next file of a renumbering",
     [](const std::string& d) {
       Rename(d, "a", "b");
       Write(d, "a", "next");
     },
     false,
     TRenameStatus::rsOk,
     "b",
     {"a", "b"}},
    // By names alone: "Ok", and Recover would rename a stranger's file.
    {"renamed, then another file put under the new name",
     [](const std::string& d) {
       Rename(d, "a", "b");
       Write(d, "c", "other");
       Rename(d, "c", "b");
     },
     false,
     TRenameStatus::rsError,
     "b",
     {"b"}},
    // By names alone: "Error".
    {"not renamed, another file under the new name",
     [](const std::string& d) { Write(d, "b", "other"); },
     false,
     std::nullopt,
     "",
     {"a", "b"}},
    {"not renamed, an empty placeholder left at the new name",
     [](const std::string& d) { Write(d, "b", ""); },
     false,
     std::nullopt,
     "",
     {"a"}},
    {"not renamed, an empty file of the user's, older than the pass, at the new name",
     [](const std::string& d) {
       Write(d, "b", "");
       fs::last_write_time(d + "b", fs::file_time_type::clock::now() - std::chrono::hours(1));
     },
     false,
     std::nullopt,
     "",
     {"a", "b"}},
    {"the file under its temporary name, an empty placeholder at the new one",
     [](const std::string& d) {
       Rename(d, "a", kTemp);
       Write(d, "b", "");
     },
     true,
     TRenameStatus::rsError,
     kTemp,
     {kTemp}},
    {"not renamed, an empty placeholder left at the temporary name",
     [](const std::string& d) { Write(d, kTemp, ""); },
     true,
     std::nullopt,
     "",
     {"a"}},
    {"both names linked to the file: the link step cut before the old name went",
     [](const std::string& d) { fs::create_hard_link(d + "a", d + "b"); },
     false,
     std::nullopt,
     "",
     {"a"}},
    {"gone", [](const std::string& d) { fs::remove(d + "a"); }, false, std::nullopt, "", {}},
};

TEST_P(JournalSettleTest, CutRowsAreSettledByTheFileTheIntentRecorded) {
  TTempFolder root;
  const std::string journalPath = root.File("pass.vtj");
  TPassJournalWriter writer;
  ASSERT_TRUE(writer.Create(journalPath, TDurability::Kernel, {TJournalKind::Rename, UtcNowNs(), root.Folder(), "*"}));
  std::vector<std::string> folders;
  for (std::size_t i = 0; i < kSettleCases.size(); ++i) {
    folders.push_back(root.Folder() + std::to_string(i) + "/");
    fs::create_directories(folders.back());
    Write(folders.back(), "a", kSettleCases[i].Label);
  }
  std::vector<TJournalEntry> intents;
  for (std::size_t i = 0; i < kSettleCases.size(); ++i) {
    TEntryInfo info;
    ASSERT_EQ(LookAtEntry((folders[i] + "a").c_str(), info), 0);
    TJournalEntry& intent = intents.emplace_back(Entry(i, folders[i], "a", "b"));
    intent.Identity = IdentityOf(info);
  }
  ASSERT_TRUE(writer.Intend(intents));
  for (std::size_t i = 0; i < kSettleCases.size(); ++i) {
    if (kSettleCases[i].Temporary) {
      ASSERT_TRUE(writer.Temporary(i, folders[i], kTemp));
    }
    kSettleCases[i].After(folders[i]);
  }
  // Killed here: no outcome reached the journal.
  struct TSeen {
    std::string Folder, NewName;
    TRenameStatus Status;
  };
  std::vector<TSeen> seen;
  if (GetParam() == TReader::Whole) {
    TExpected<TJournal> loaded = LoadJournal(journalPath);
    ASSERT_TRUE(loaded) << loaded.Error();
    SettleFromDisk(*loaded);
    for (const TJournalEntry& row : loaded->Rows)
      seen.push_back({std::string(row.Folder), std::string(row.NewName), row.Status});
  } else {
    TJournalRowStream stream(journalPath);
    ASSERT_TRUE(stream.Open());
    ASSERT_TRUE(stream.ForEach([&](const TResultRow& row) {
      seen.push_back({std::string(row.Path()), row.NewName, row.Status});
      return true;
    }));
  }
  for (std::size_t i = 0; i < kSettleCases.size(); ++i) {
    const TSettleCase& c = kSettleCases[i];
    SCOPED_TRACE(c.Label);
    const auto row = std::find_if(seen.begin(), seen.end(), [&](const TSeen& s) { return s.Folder == folders[i]; });
    ASSERT_EQ(row != seen.end(), c.Status.has_value());
    if (c.Status) {
      EXPECT_EQ(row->Status, *c.Status);
      EXPECT_EQ(row->NewName, c.NewName);
    }
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folders[i])) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, c.Names);
  }
}

// A file recorded by its listed number alone, on a disk whose device number
// changed since (a reboot): its number tells nothing there, so the row is
// settled by the names the folder holds, as a row without its file.
TEST_P(JournalSettleTest, AFileListedOnADeviceNumberSinceChangedIsSettledByNames) {
  struct TCase {
    const char* Label;
    bool Renamed;
    std::vector<std::string> Names;
  };
  const std::vector<TCase> cases{{"renamed", true, {"b"}}, {"not renamed", false, {"a"}}};
  TTempFolder root;
  const std::string journalPath = root.File("pass.vtj");
  TPassJournalWriter writer;
  ASSERT_TRUE(writer.Create(journalPath, TDurability::Kernel, {TJournalKind::Rename, UtcNowNs(), root.Folder(), "*"}));
  std::vector<TJournalEntry> intents;
  std::vector<std::string> folders;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    folders.push_back(root.Folder() + std::to_string(i) + "/");
    fs::create_directories(folders.back());
    // Empty and written after the pass began: what a placeholder looks like.
    Write(folders.back(), "a", "");
    TEntryInfo info;
    ASSERT_EQ(LookAtEntry((folders.back() + "a").c_str(), info), 0);
    TJournalEntry& intent = intents.emplace_back(Entry(i, folders.back(), "a", "b"));
    intent.Identity = ListedIdentity({info.Id.Device + 1, info.Id.Inode});
  }
  ASSERT_TRUE(writer.Intend(intents));
  for (std::size_t i = 0; i < cases.size(); ++i) {
    if (cases[i].Renamed) Rename(folders[i], "a", "b");
  }
  std::vector<std::pair<std::string, TRenameStatus>> seen;
  if (GetParam() == TReader::Whole) {
    TExpected<TJournal> loaded = LoadJournal(journalPath);
    ASSERT_TRUE(loaded) << loaded.Error();
    SettleFromDisk(*loaded);
    for (const TJournalEntry& row : loaded->Rows) seen.emplace_back(std::string(row.Folder), row.Status);
  } else {
    TJournalRowStream stream(journalPath);
    ASSERT_TRUE(stream.Open());
    ASSERT_TRUE(stream.ForEach([&](const TResultRow& row) {
      seen.emplace_back(std::string(row.Path()), row.Status);
      return true;
    }));
  }
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(cases[i].Label);
    const auto row = std::find_if(seen.begin(), seen.end(), [&](const auto& s) { return s.first == folders[i]; });
    ASSERT_EQ(row != seen.end(), cases[i].Renamed);
    if (cases[i].Renamed) {
      EXPECT_EQ(row->second, TRenameStatus::rsOk);
    }
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folders[i])) names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, cases[i].Names);
  }
}

INSTANTIATE_TEST_SUITE_P(Readers, JournalSettleTest, ::testing::Values(TReader::Whole, TReader::Stream));

// A journal of this version read by one that knows fewer blocks: a block of
// an unknown kind says nothing of the rows, and those after it are read.
TEST_F(JournalReaderTest, BlocksOfUnknownKindArePassedOver) {
  TPassJournalWriter writer;
  ASSERT_TRUE(writer.Create(Path(), TDurability::Kernel, {TJournalKind::Rename, 1, "/d/", ""}));
  TJournalEntry intent = Entry(0, "/d/", "a", "xa");
  intent.Identity = TFileIdentity{7, 8, 9, -10, 0100644};
  ASSERT_TRUE(writer.Intend(std::vector<TJournalEntry>{intent}));
  writer.Settled(std::vector<TJournalEntry>{Entry(0, "/d/", "a", "xa", TRenameStatus::rsOk)});
  ASSERT_TRUE(writer.Finish(TJournalEnd::Completed));
  std::string unknown;
  const std::size_t begun = BeginBlock(unknown, static_cast<TJournalBlock>('Z'));
  AppendText(unknown, "of a later version");
  EndBlock(unknown, begun);
  std::string bytes = Bytes(Path());
  const std::size_t afterHeader = bytes.find(static_cast<char>(TJournalBlock::Intents)) - kJournalBlockHeader;
  bytes.insert(afterHeader, unknown);
  TJournal journal;
  ASSERT_TRUE(ReadJournal(bytes, journal));
  EXPECT_FALSE(journal.TornTail);
  ASSERT_EQ(journal.Rows.size(), 1u);
  EXPECT_EQ(journal.Rows[0].Status, TRenameStatus::rsOk);
  EXPECT_EQ(journal.Rows[0].Identity, intent.Identity);
}
}  // namespace
}  // namespace vt::test
