// The block loop of both passes: renames go to the journal before they are
// attempted, every row is settled once, and the rows are those the step gives
// entry by entry.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/RenameStep.h"
#include "passes/JournalFormat.h"
#include "passes/PassJournalWriter.h"
#include "passes/PassTestSupport.h"
#include "platform/FolderHandle.h"
#include "platform/Volumes.h"
#include "support/InodeFlags.h"
#include "support/TempFolder.h"

namespace vt::test {
namespace {

// Records every call, and checks the disk at each intent: none of the renames
// it announces may have happened yet (the new name may be taken: that rename
// is then refused).
class TWatchingJournal final : public IPassJournal {
 public:
  explicit TWatchingJournal(bool refuseAfter = false, std::size_t refusals = 0)
      : Refuse_(refuseAfter), AcceptedIntents_(refusals) {}

  bool Intend(std::span<const TJournalEntry> entries) override {
    ++IntentCalls;
    if (Refuse_ && IntentCalls > AcceptedIntents_) return false;
    for (const TJournalEntry& entry : entries) {
      const std::string folder(entry.Folder);
      if (!std::filesystem::exists(folder + std::string(entry.OldName))) ++RenamedBeforeIntent;
      // The file the rename is about, as the journal records it.
      struct stat st {};
      if (entry.Identity && ::lstat((folder + std::string(entry.OldName)).c_str(), &st) == 0 &&
          entry.Identity->Device == st.st_dev && entry.Identity->Inode == st.st_ino)
        ++(entry.Identity->Mode == 0 ? IdentifiedByListing : IdentifiedByLook);
      Intended.push_back(entry.Row);
      IntendedNames.push_back(std::string(entry.OldName));
    }
    LargestIntent = std::max(LargestIntent, entries.size());
    if (IntentCalls == 1) FirstIntent = entries.size();
    return true;
  }
  void Settled(std::span<const TJournalEntry> entries) override {
    for (const TJournalEntry& entry : entries) {
      SettledRows.push_back(entry.Row);
      if (entry.Attempted) ++SettledAttempts;
      Statuses.push_back(entry.Status);
    }
  }
  void Withdrawn(std::span<const TJournalEntry> entries) override { WithdrawnCount += entries.size(); }

  std::size_t IntentCalls = 0;
  std::size_t LargestIntent = 0;
  std::size_t FirstIntent = 0;
  std::size_t RenamedBeforeIntent = 0;
  std::size_t IdentifiedByListing = 0;
  std::size_t IdentifiedByLook = 0;
  std::size_t SettledAttempts = 0;
  std::size_t WithdrawnCount = 0;
  std::vector<std::uint64_t> Intended;
  std::vector<std::string> IntendedNames;
  std::vector<std::uint64_t> SettledRows;
  std::vector<TRenameStatus> Statuses;

 private:
  bool Refuse_;
  std::size_t AcceptedIntents_;
};

std::string Numbered(int i) {
  std::string name = std::to_string(i);
  return std::string(4 - name.size(), '0') + name + ".txt";
}

// CRC-32 (IEEE) a bit at a time, as the checksum of every block must give it.
std::uint32_t BitwiseCrc32(std::string_view bytes) {
  std::uint32_t crc = 0xFFFFFFFFU;
  for (const char c : bytes) {
    crc ^= static_cast<unsigned char>(c);
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1U) != 0 ? (crc >> 1) ^ 0xEDB88320U : crc >> 1;
  }
  return crc ^ 0xFFFFFFFFU;
}

// Journals already written must keep reading: the checksum is the standard
// one at every length and start, however its steps split the bytes.
TEST(JournalChecksum, IsTheStandardCrc32) {
  EXPECT_EQ(Crc32(""), 0U);
  EXPECT_EQ(Crc32("123456789"), 0xCBF43926U);
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes.push_back(static_cast<char>((i * 131 + 7) & 0xFF));
  const std::string_view all(bytes);
  for (std::size_t from = 0; from < 8; ++from)
    for (std::size_t length = 0; length <= 40; ++length)
      EXPECT_EQ(Crc32(all.substr(from, length)), BitwiseCrc32(all.substr(from, length))) << from << "+" << length;
  EXPECT_EQ(Crc32(all), BitwiseCrc32(all));
}

// Every length a number can take, at the edges where it takes one byte more.
TEST(JournalNumbers, ReadBackAsWrittenAtEveryLength) {
  struct TCase {
    std::uint64_t Value;
    std::size_t Bytes;
  };
  const TCase cases[] = {{0, 1},           {1, 1},          {0x7F, 1},          {0x80, 2},       {0x3FFF, 2},
                         {0x4000, 3},      {100000, 3},     {0xFFFFFFFFULL, 5}, {1ULL << 56, 9}, {(1ULL << 63) - 1, 9},
                         {1ULL << 63, 10}, {UINT64_MAX, 10}};
  std::string bytes = "head";
  for (const TCase& test : cases) {
    const std::size_t before = bytes.size();
    AppendNumber(bytes, test.Value);
    EXPECT_EQ(bytes.size() - before, test.Bytes) << test.Value;
  }
  TJournalCursor cursor(std::string_view(bytes).substr(4));
  for (const TCase& test : cases) {
    std::uint64_t value = 0;
    ASSERT_TRUE(cursor.Number(value)) << test.Value;
    EXPECT_EQ(value, test.Value);
  }
  EXPECT_TRUE(cursor.AtEnd());
  EXPECT_EQ(bytes.substr(0, 4), "head");
}

// The writer against the format written field by field: rows that rename and
// rows that do not, numbers of one and of several bytes, a folder repeated and
// a folder changed, long names, refusals and withdrawals.
// A journal's bytes before its first rows: the signature and a header with no folder.
std::string ExpectedStart() {
  std::string expected(kJournalSignature);
  const std::size_t begun = BeginBlock(expected, TJournalBlock::Header);
  for (const std::uint64_t number : {kJournalVersion, std::uint64_t{1}, std::uint64_t{0}})
    AppendNumber(expected, number);
  AppendText(expected, "");
  AppendText(expected, "");
  EndBlock(expected, begun);
  return expected;
}

TEST(JournalWriter, WritesEveryFieldAsTheFormatSays) {
  TTempFolder folder;
  const std::string shortFolder = "/f/", longFolder = "/" + std::string(300, 'd') + "/";
  const std::string longName(255, 'n');
  const TJournalEntry intents[] = {{5, shortFolder, "a", "b", TRenameStatus::rsCanBeRenamed, 0, true},
                                   {200, shortFolder, longName, "c", TRenameStatus::rsCanBeRenamed, 0, true},
                                   {100000, longFolder, "d", longName, TRenameStatus::rsCanBeRenamed, 0, true}};
  const TJournalEntry settled[] = {{5, shortFolder, "a", "b", TRenameStatus::rsOk, 0, true},
                                   {7, shortFolder, "x", "", TRenameStatus::rsNoMatch, 0, false},
                                   {200, shortFolder, longName, "c", TRenameStatus::rsError, 200, true},
                                   {300, longFolder, "y", "z", TRenameStatus::rsError, 13, false},
                                   {301, longFolder, "y2", "z2", TRenameStatus::rsNoChange, -1, false}};
  const TJournalEntry withdrawn[] = {{100000, longFolder, "d", longName, TRenameStatus::rsCanBeRenamed, 0, true}};
  TPassJournalWriter writer;
  ASSERT_TRUE(writer.Create(folder.File("j"), TDurability::Kernel, TJournalHeader{}));
  ASSERT_TRUE(writer.Intend(intents));
  writer.Settled(settled);
  writer.Withdrawn(withdrawn);
  ASSERT_TRUE(writer.Finish(TJournalEnd::Stopped));

  std::string expected = ExpectedStart();
  const auto folderField = [&](const std::string& text, bool repeated) {
    if (repeated) return AppendNumber(expected, 0);
    AppendNumber(expected, text.size() + 1);
    expected += text;
  };
  std::size_t begun = BeginBlock(expected, TJournalBlock::Intents);
  AppendNumber(expected, 3);
  for (std::size_t i = 0; i < 3; ++i) {
    AppendNumber(expected, intents[i].Row);
    folderField(std::string(intents[i].Folder), i == 1);
    AppendText(expected, intents[i].OldName);
    AppendText(expected, intents[i].NewName);
  }
  EndBlock(expected, begun);
  begun = BeginBlock(expected, TJournalBlock::Outcomes);
  AppendNumber(expected, 2);
  expected += std::string{'\x05', static_cast<char>(TRenameStatus::rsOk), '\0', '\0'};
  AppendNumber(expected, 200);
  expected += static_cast<char>(TRenameStatus::rsError);
  AppendNumber(expected, 200);
  AppendNumber(expected, 2);
  expected += "c";
  EndBlock(expected, begun);
  begun = BeginBlock(expected, TJournalBlock::Rows);
  AppendNumber(expected, 3);
  const int errors[] = {0, 13, 0};
  for (std::size_t i = 0, k = 0; i < 5; ++i) {
    if (settled[i].Attempted) continue;
    AppendNumber(expected, settled[i].Row);
    folderField(std::string(settled[i].Folder), i == 4);
    AppendText(expected, settled[i].OldName);
    AppendText(expected, settled[i].NewName);
    expected += static_cast<char>(settled[i].Status);
    AppendNumber(expected, static_cast<std::uint64_t>(errors[k++]));
  }
  EndBlock(expected, begun);
  begun = BeginBlock(expected, TJournalBlock::Outcomes);
  AppendNumber(expected, 1);
  AppendNumber(expected, 100000);
  expected += std::string{static_cast<char>(kWithdrawnStatus), '\0', '\0'};
  EndBlock(expected, begun);
  begun = BeginBlock(expected, TJournalBlock::End);
  AppendNumber(expected, 5);
  expected += static_cast<char>(TJournalEnd::Stopped);
  AppendNumber(expected, 1);  // rows renamed, for a history that reads no row
  EndBlock(expected, begun);

  EXPECT_EQ(folder.ReadFile("j"), expected);
  EXPECT_EQ(writer.RenamedCount(), 1u);
  EXPECT_EQ(writer.RefusedCount(), 2u);
}

// The room made for a block's fields before they are written is reckoned from
// the fields themselves: at their largest (numbers of ten bytes, errors that
// are no errno, a folder's text repeated in another string, identities at
// their limits) every field still goes out as the format says.
TEST(JournalWriter, FieldsAtTheirLargestGoOutWhole) {
  TTempFolder folder;
  const std::string first = "/" + std::string(200, 'f') + "/", same = first, other = "/o/";
  const std::string longName(255, 'n');
  constexpr std::uint64_t kTop = UINT64_MAX;
  const TFileIdentity widest{kTop, kTop, kTop, INT64_MIN, UINT32_MAX};
  const TFileIdentity narrowest{0, 0, 0, -1, 0};
  struct TCase {
    std::uint64_t Row;
    const std::string* Folder;
    std::string_view OldName, NewName;
    std::optional<TFileIdentity> Identity;
    bool Repeated;  // the folder's text is that of the entry before
  };
  const TCase cases[] = {{kTop - 3, &first, longName, longName, widest, false},
                         {kTop - 2, &same, "a", longName, narrowest, true},
                         {kTop - 1, &first, longName, "b", std::nullopt, true},
                         {kTop, &other, "", "c", widest, false}};
  std::vector<TJournalEntry> intents, settled;
  for (const TCase& test : cases) {
    TJournalEntry intent{test.Row, *test.Folder, test.OldName, test.NewName, TRenameStatus::rsCanBeRenamed, 0, true};
    intent.Identity = test.Identity;
    intents.push_back(intent);
    // Outcomes with a New Name of their own, and rows that renamed nothing, with errors of every width.
    settled.push_back({test.Row, *test.Folder, test.OldName, test.NewName, TRenameStatus::rsError, INT32_MAX, true});
    settled.push_back({test.Row, *test.Folder, test.OldName, test.NewName, TRenameStatus::rsNoChange,
                       test.Repeated ? -7 : INT32_MAX, false});
  }
  TPassJournalWriter writer;
  ASSERT_TRUE(writer.Create(folder.File("j"), TDurability::Kernel, TJournalHeader{}));
  ASSERT_TRUE(writer.Intend(intents));
  writer.Settled(settled);
  ASSERT_TRUE(writer.Finish(TJournalEnd::Completed));

  std::string expected = ExpectedStart();
  const auto named = [&](const TCase& test) {
    AppendNumber(expected, test.Row);
    if (test.Repeated) {
      AppendNumber(expected, 0);
    } else {
      AppendNumber(expected, test.Folder->size() + 1);
      expected += *test.Folder;
    }
    AppendText(expected, test.OldName);
    AppendText(expected, test.NewName);
  };
  std::size_t begun = BeginBlock(expected, TJournalBlock::Intents);
  AppendNumber(expected, std::size(cases));
  for (const TCase& test : cases) named(test);
  EndBlock(expected, begun);
  begun = BeginBlock(expected, TJournalBlock::Identities);
  AppendNumber(expected, 3);
  for (const TCase& test : cases) {
    if (!test.Identity) continue;
    for (const std::uint64_t number : {test.Row, test.Identity->Device, test.Identity->Inode, test.Identity->Size,
                                       ZigZag(test.Identity->MtimeNs), std::uint64_t{test.Identity->Mode}})
      AppendNumber(expected, number);
  }
  EndBlock(expected, begun);
  begun = BeginBlock(expected, TJournalBlock::Outcomes);
  AppendNumber(expected, std::size(cases));
  for (const TCase& test : cases) {
    AppendNumber(expected, test.Row);
    expected += static_cast<char>(TRenameStatus::rsError);
    AppendNumber(expected, std::uint64_t{INT32_MAX});
    AppendNumber(expected, test.NewName.size() + 1);
    expected += test.NewName;
  }
  EndBlock(expected, begun);
  begun = BeginBlock(expected, TJournalBlock::Rows);
  AppendNumber(expected, std::size(cases));
  for (const TCase& test : cases) {
    named(test);
    expected += static_cast<char>(TRenameStatus::rsNoChange);
    AppendNumber(expected, test.Repeated ? std::uint64_t{0} : std::uint64_t{INT32_MAX});  // no errno below 0
  }
  EndBlock(expected, begun);
  begun = BeginBlock(expected, TJournalBlock::End);
  AppendNumber(expected, 2 * std::size(cases));
  expected += static_cast<char>(TJournalEnd::Completed);
  AppendNumber(expected, 0);
  EndBlock(expected, begun);
  EXPECT_EQ(folder.ReadFile("j"), expected);
}

class PassJournalTest : public ::testing::Test {
 protected:
  TSearchPassOptions Options(IPassJournal* journal) const { return JournaledPass(Tree.Root(), journal); }

  TTempTree Tree;
  TTestOwner Owner;
};

// Side by side too: the renames of a block run once all its intents are
// written, and their outcomes are settled in the rows' order.
TEST_F(PassJournalTest, EveryRenameIsIntendedBeforeItHappensAndSettledAfter) {
  // Timed: the first block side by side, the second begun one by one and
  // ended side by side, the third the faster way.
  for (const TRenameConcurrency concurrency :
       {TRenameConcurrency::OneByOne, TRenameConcurrency::SideBySide, TRenameConcurrency::Timed}) {
    SCOPED_TRACE(static_cast<int>(concurrency));
    TTempTree tree;
    TTestOwner owner;
    constexpr int kFiles = 600;  // three blocks, the last one short
    for (int i = 0; i < kFiles; ++i) tree.File(Numbered(i));
    tree.File("same.txt");  // a row that renames nothing
    TWatchingJournal journal;
    TSearchPassOptions options = JournaledPass(tree.Root(), &journal);
    options.Concurrency = concurrency;
    RunSearch(owner, options, InsertAtBeginning("x"));

    ASSERT_EQ(owner.Table.RowCount(), static_cast<std::size_t>(kFiles + 1));
    EXPECT_EQ(journal.RenamedBeforeIntent, 0u);
    EXPECT_EQ(journal.Intended.size(), static_cast<std::size_t>(kFiles + 1));
    EXPECT_EQ(journal.IntentCalls, 3u);  // blocks of 256 entries, "." and ".." among them
    EXPECT_EQ(journal.LargestIntent, 256u);
    EXPECT_EQ(journal.SettledAttempts, journal.Intended.size());
    // Every row once, in the table's order.
    ASSERT_EQ(journal.SettledRows.size(), owner.Table.RowCount());
    for (std::size_t i = 0; i < journal.SettledRows.size(); ++i) EXPECT_EQ(journal.SettledRows[i], std::uint64_t{i});
    EXPECT_EQ(journal.WithdrawnCount, 0u);
    std::size_t renamed = 0;
    for (const std::string& name : tree.Names())
      if (name.front() == 'x') ++renamed;
    EXPECT_EQ(renamed, static_cast<std::size_t>(kFiles + 1));
    // Each intent names its file: by the listing's number where the volume's
    // listing gives st_ino (no look ahead of the rename), else as a look found it.
    struct stat root {};
    ASSERT_EQ(::stat(tree.Root().c_str(), &root), 0);
    const bool listed = NatureOfDevice(root.st_dev).ListsInodeNumbers;
    EXPECT_EQ(journal.IdentifiedByListing, listed ? journal.Intended.size() : 0u);
    EXPECT_EQ(journal.IdentifiedByLook, listed ? 0u : journal.Intended.size());
  }
}

TEST_F(PassJournalTest, AJournalThatCannotBeWrittenStopsThePassBeforeItsRenames) {
  for (int i = 0; i < 600; ++i) Tree.File(Numbered(i));
  TWatchingJournal journal(true, 1);  // the second block's record fails
  RunSearch(Owner, Options(&journal), InsertAtBeginning("x"));

  // The first block only (its entries "." and ".." give no rows): nothing without its record.
  EXPECT_GT(journal.FirstIntent, 250u);
  EXPECT_EQ(Owner.Table.RowCount(), journal.FirstIntent);
  std::size_t renamed = 0;
  for (const std::string& name : Tree.Names())
    if (name.front() == 'x') ++renamed;
  EXPECT_EQ(renamed, journal.FirstIntent);
  EXPECT_EQ(journal.IntentCalls, 2u);
}

TEST_F(PassJournalTest, RowsAreThoseOfTheStepEntryByEntry) {
  // Number's counter, names that clash with files there and with each other,
  // unusable names and no-change rows, across more than one block; side by
  // side as well, where renames that share a name wait for each other.
  struct Case {
    const char* Name;
    TControlValues Controls;
  };
  const std::vector<Case> cases = {
      {"number", NumberDefaults()},
      {"insert", InsertAtBeginning("0")},
      {"remove", RemoveText("1")},
      {"replace", SearchReplace("*.txt", "same.txt")},
  };
  for (const Case& c : cases)
    for (const TRenameConcurrency concurrency :
         {TRenameConcurrency::ByVolume, TRenameConcurrency::SideBySide, TRenameConcurrency::Timed}) {
      SCOPED_TRACE(c.Name);
      SCOPED_TRACE(static_cast<int>(concurrency));
      TTempTree passTree;
      TTempTree stepTree;
      for (TTempTree* tree : {&passTree, &stepTree}) {
        for (int i = 0; i < 300; ++i) tree->File(Numbered(i * 7));
        tree->File("10.txt");
      }
      TTestOwner owner;
      TWatchingJournal journal;
      TSearchPassOptions options = Options(&journal);
      options.Folder = passTree.Root();
      options.Concurrency = concurrency;
      RunSearch(owner, options, c.Controls);

      // The same entries through ProcessFile, one at a time.
      TRenameStep step(CaptureSettings(c.Controls), TPassMode::Rename);
      auto folder = std::make_shared<TFolderHandle>();
      ASSERT_EQ(TFolderHandle::Open(stepTree.Root(), *folder), 0);
      std::vector<TRowTexts> expected;
      for (const std::string& name : ListedFiles(stepTree.Root(), "*.*")) {
        TFindData entry;
        entry.dwFileAttributes = FileAttr::Archive;
        entry.cFileName = name;
        if (!step.ProcessFile(*folder, entry)) continue;
        if (step.Status() == TRenameStatus::rsNoMatch) continue;
        expected.push_back({name, step.NewName(), passTree.Root(), std::string(StatusText(step.Status()))});
      }
      EXPECT_EQ(RowTexts(owner.Table), expected);
      EXPECT_EQ(passTree.Names(), stepTree.Names());
      EXPECT_EQ(journal.RenamedBeforeIntent, 0u);
    }
}

// A read-only (immutable) file gives no row and moves no counter, whether the
// listing or the look before the rename finds it so: the rows are those of the
// folder without it, and every intent is settled or withdrawn, none given twice.
TEST_F(PassJournalTest, AReadOnlyFileChangesNothingButItsOwnAbsence) {
  struct Case {
    const char* Name;
    TControlValues Controls;
    bool Simulate;
    bool RecordAll;
  };
  const std::vector<Case> cases = {
      {"number", NumberDefaults(), false, false},
      {"insert", InsertAtBeginning("0"), false, false},
      {"insert simulated", InsertAtBeginning("0"), true, false},
      {"remove", RemoveText("1"), false, true},
      {"remove, no-match rows left out", RemoveText("1"), false, false},
      {"replace", SearchReplace("*.txt", "same.txt"), false, false},
      {"replace simulated", SearchReplace("*.txt", "same.txt"), true, true},
  };
  // 245: the last entry of the first block of 256, "." and ".." among them.
  const auto isReadOnly = [](int i) { return i == 0 || i % 37 == 5 || i == 245 || i == 299; };
  for (std::size_t k = 0; k < cases.size(); ++k) {
    const Case& c = cases[k];
    SCOPED_TRACE(c.Name);
    // Every other case renames the folder with read-only files side by side.
    const TRenameConcurrency withConcurrency =
        k % 2 == 1 ? TRenameConcurrency::SideBySide : TRenameConcurrency::ByVolume;
    TTempTree withTree;
    TTempTree withoutTree;
    std::vector<std::string> readOnly;
    std::list<TInodeFlag> flags;  // taken off before the trees go
    for (int i = 0; i < 300; ++i) {
      const std::string name = Numbered(i * 7);
      if (isReadOnly(i)) {
        readOnly.push_back(name.substr(0, 4) + "-r.txt");  // just before name
        withTree.File(readOnly.back());
        const std::string why = flags.emplace_back().Set(withTree.Path(readOnly.back()), FS_IMMUTABLE_FL);
        if (!why.empty()) GTEST_SKIP() << why;
      }
      withTree.File(name);
      withoutTree.File(name);
    }
    std::vector<TRowTexts> rows[2];
    TTempTree* trees[2] = {&withTree, &withoutTree};
    for (int t = 0; t < 2; ++t) {
      TTestOwner owner;
      owner.Simulate = c.Simulate;
      owner.Control.SetRecordAllMessages(c.RecordAll);
      TWatchingJournal journal;
      TSearchPassOptions options = Options(c.Simulate ? nullptr : &journal);
      options.Folder = trees[t]->Root();
      if (t == 0) options.Concurrency = withConcurrency;
      RunSearch(owner, options, c.Controls);
      for (TRowTexts row : RowTexts(owner.Table)) {
        row.Path.clear();
        rows[t].push_back(row);
      }
      EXPECT_EQ(journal.RenamedBeforeIntent, 0u);
      EXPECT_EQ(journal.Intended.size(), journal.SettledAttempts + journal.WithdrawnCount);
      std::vector<std::uint64_t> intended = journal.Intended;
      std::sort(intended.begin(), intended.end());
      EXPECT_TRUE(std::adjacent_find(intended.begin(), intended.end()) == intended.end()) << "a number intended twice";
      EXPECT_TRUE(std::is_sorted(journal.SettledRows.begin(), journal.SettledRows.end()));
      EXPECT_EQ(journal.SettledRows.size(), c.Simulate ? 0u : owner.Table.RowCount());
    }
    EXPECT_EQ(rows[0], rows[1]);
    std::vector<std::string> left = withTree.Names();
    for (const std::string& name : readOnly) {
      EXPECT_TRUE(withTree.Exists(name)) << name;
      left.erase(std::remove(left.begin(), left.end(), name), left.end());
    }
    EXPECT_EQ(left, withoutTree.Names());
  }
}

TEST_F(PassJournalTest, RecoverIntendsEachRenameBackBeforeIt) {
  for (int i = 0; i < 300; ++i) {
    Tree.File("new-" + Numbered(i));
    Owner.Table.AppendRow(Numbered(i), "new-" + Numbered(i), Tree.Root(), "Ok");
  }
  Owner.Table.AppendRow("gone.txt", "new-gone.txt", Tree.Root(), "Ok");
  Owner.Table.AppendRow("kept.txt", "", Tree.Root(), "No change");
  TWatchingJournal journal;
  RunUndo(Owner, &journal);
  EXPECT_EQ(journal.RenamedBeforeIntent, 1u);  // "new-gone.txt" was not there to begin with
  EXPECT_EQ(journal.Intended.size(), 301u);
  ASSERT_EQ(journal.SettledRows.size(), 302u);
  EXPECT_EQ(journal.Statuses[300], TRenameStatus::rsFileNotFound);
  EXPECT_EQ(journal.Statuses[301], TRenameStatus::rsNoChange);
  EXPECT_EQ(Tree.Names().size(), 300u);
  EXPECT_EQ(Tree.Names().front(), Numbered(0));
}

}  // namespace
}  // namespace vt::test
