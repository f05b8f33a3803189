// A journal that writes ahead: the intents of the block after go to the disk
// while the block in hand is renamed, and still every rename waits for its own
// intent to be on record.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "passes/JournalFormat.h"
#include "passes/PassJournalWriter.h"
#include "passes/PassTestSupport.h"
#include "passes/SearchThread.h"
#include "support/TempFolder.h"

namespace vt::test {
namespace {

// Takes intents ahead as a journal waiting for the disk does. At each wait it
// checks that no rename it announced has happened yet, and that no outcome
// comes before its intent was waited for. slow: a write is always still under
// way when the pass asks, as where a sync takes longer than a block of renames.
class TAheadJournal final : public IPassJournal {
 public:
  explicit TAheadJournal(bool slow, std::uint64_t failingTicket = 0) : Slow_(slow), FailingTicket_(failingTicket) {}

  bool WritesAhead() const override { return true; }
  bool Intend(std::span<const TJournalEntry> entries) override {
    const std::optional<std::uint64_t> ticket = IntendAhead(entries);
    return ticket && AwaitIntents(*ticket);
  }
  std::optional<std::uint64_t> IntendAhead(std::span<const TJournalEntry> entries) override {
    std::vector<std::string>& paths = Blocks_.emplace_back();
    for (const TJournalEntry& entry : entries) {
      paths.push_back(std::string(entry.Folder) + std::string(entry.OldName));
      TicketOfRow_[entry.Row] = Blocks_.size();
      Intended.push_back(entry.Row);
      if (entry.Identity) ++Identified;
    }
    if (!entries.empty()) BlockSizes.push_back(entries.size());
    return Blocks_.size();
  }
  bool IntentsRecorded(std::uint64_t /*ticket*/) override { return !Slow_; }
  bool AwaitIntents(std::uint64_t ticket) override {
    if (FailingTicket_ != 0 && ticket >= FailingTicket_) return false;
    for (; Awaited_ < ticket; ++Awaited_)
      for (const std::string& path : Blocks_[Awaited_])
        if (!std::filesystem::exists(path)) ++RenamedBeforeRecorded;
    return true;
  }
  void Settled(std::span<const TJournalEntry> entries) override {
    for (const TJournalEntry& entry : entries) {
      SettledRows.push_back(entry.Row);
      if (!entry.Attempted) continue;
      Attempted.push_back(entry.Row);
      if (TicketOfRow_.at(entry.Row) > Awaited_) ++SettledBeforeRecorded;
    }
  }
  void Withdrawn(std::span<const TJournalEntry> entries) override {
    for (const TJournalEntry& entry : entries) WithdrawnRows.push_back(entry.Row);
  }

  std::vector<std::size_t> BlockSizes;
  std::vector<std::uint64_t> Intended;
  std::vector<std::uint64_t> SettledRows;
  std::vector<std::uint64_t> Attempted;
  std::vector<std::uint64_t> WithdrawnRows;
  std::size_t Identified = 0;  // intents that name the file they are about
  std::size_t RenamedBeforeRecorded = 0;
  std::size_t SettledBeforeRecorded = 0;

 private:
  bool Slow_;
  std::uint64_t FailingTicket_;
  std::vector<std::vector<std::string>> Blocks_;
  std::map<std::uint64_t, std::uint64_t> TicketOfRow_;
  std::uint64_t Awaited_ = 0;
};

std::string FileName(int i) {
  std::string name = std::to_string(i);
  return std::string(5 - name.size(), '0') + name + ".txt";
}

std::size_t RenamedIn(const TTempTree& tree) {
  const std::vector<std::string> names = tree.Names();
  return static_cast<std::size_t>(
      std::count_if(names.begin(), names.end(), [](const std::string& name) { return name.front() == 'x'; }));
}

// Every intent is settled as attempted or withdrawn, once.
void ExpectEachIntentEndedOnce(const TAheadJournal& journal) {
  std::vector<std::uint64_t> ended = journal.Attempted;
  ended.insert(ended.end(), journal.WithdrawnRows.begin(), journal.WithdrawnRows.end());
  std::sort(ended.begin(), ended.end());
  std::vector<std::uint64_t> intended = journal.Intended;
  std::sort(intended.begin(), intended.end());
  EXPECT_EQ(ended, intended);
}

class PassJournalAheadTest : public ::testing::Test {
 protected:
  void Fill(int files) {
    for (int i = 0; i < files; ++i) Tree.File(FileName(i));
  }
  TSearchPassOptions Options(IPassJournal* journal) const { return JournaledPass(Tree.Root(), journal); }

  TTempTree Tree;
  TTestOwner Window;
};

// Blocks stay as they are while the writes keep up, and grow while they do not.
TEST_F(PassJournalAheadTest, EveryRenameWaitsForItsIntentAndTheBlocksGrowOnlyWhileWritesLag) {
  for (const bool slow : {false, true}) {
    SCOPED_TRACE(slow ? "writes lagging" : "writes keeping up");
    TTempTree tree;
    constexpr int kFiles = 5000;
    for (int i = 0; i < kFiles; ++i) tree.File(FileName(i));
    TTestOwner window;
    TAheadJournal journal(slow);
    TSearchPassOptions options = Options(&journal);
    options.Folder = tree.Root();
    RunSearch(window, options, InsertAtBeginning("x"));

    ASSERT_EQ(window.Table.RowCount(), static_cast<std::size_t>(kFiles));
    EXPECT_EQ(RenamedIn(tree), static_cast<std::size_t>(kFiles));
    EXPECT_EQ(journal.RenamedBeforeRecorded, 0u);
    EXPECT_EQ(journal.SettledBeforeRecorded, 0u);
    ASSERT_EQ(journal.SettledRows.size(), static_cast<std::size_t>(kFiles));
    for (std::size_t i = 0; i < journal.SettledRows.size(); ++i) EXPECT_EQ(journal.SettledRows[i], std::uint64_t{i});
    EXPECT_TRUE(journal.WithdrawnRows.empty());
    const std::size_t largest = *std::max_element(journal.BlockSizes.begin(), journal.BlockSizes.end());
    if (slow) {
      EXPECT_GE(largest, 1024u);
      EXPECT_LT(journal.BlockSizes.size(), 10u);
    } else {
      EXPECT_EQ(largest, 256u);
    }
  }
}

// The block judged ahead of a failed write never renames, nor does any after it.
TEST_F(PassJournalAheadTest, AWriteThatFailsStopsThePassBeforeItsRenames) {
  Fill(1000);
  TAheadJournal journal(false, 2);
  RunSearch(Window, Options(&journal), InsertAtBeginning("x"));

  ASSERT_FALSE(journal.BlockSizes.empty());
  EXPECT_EQ(RenamedIn(Tree), journal.BlockSizes.front());
  EXPECT_EQ(Window.Table.RowCount(), journal.BlockSizes.front());
  EXPECT_EQ(journal.RenamedBeforeRecorded, 0u);
  EXPECT_EQ(journal.Attempted.size(), journal.BlockSizes.front());
}

// A stop at any entry: what was judged ahead is withdrawn, every intent ends
// once, and the files renamed are exactly the rows.
TEST_F(PassJournalAheadTest, AStopWithdrawsWhatWasJudgedAhead) {
  for (const int stopAt : {10, 300, 700, 1499}) {
    SCOPED_TRACE(stopAt);
    TTempTree tree;
    for (int i = 0; i < 1500; ++i) tree.File(FileName(i));
    TTestOwner window;
    TAheadJournal journal(stopAt % 2 == 0);
    TSearchPassOptions options = Options(&journal);
    options.Folder = tree.Root();
    const std::string stopName = FileName(stopAt);
    options.OnCollected = [&](TSearchThread& pass, const TFindData& entry) {
      if (entry.cFileName == stopName) pass.RequestStop();
    };
    RunSearch(window, options, InsertAtBeginning("x"));

    EXPECT_LT(RenamedIn(tree), 1500u);
    EXPECT_EQ(RenamedIn(tree), window.Table.RowCount());
    EXPECT_EQ(journal.Attempted.size(), window.Table.RowCount());
    EXPECT_EQ(journal.RenamedBeforeRecorded, 0u);
    ExpectEachIntentEndedOnce(journal);
  }
}

// The journal itself, written on its own thread through to the disk: every
// intent, every outcome and the end are in the file.
TEST_F(PassJournalAheadTest, AJournalSyncedToDiskHoldsEveryRowOfAPass) {
  constexpr int kFiles = 3000;
  Fill(kFiles);
  TTempFolder state;
  TPassJournalWriter writer;
  ASSERT_TRUE(writer.Create(state.File("j.vtj"), TDurability::Disk, TJournalHeader{}));
  ASSERT_TRUE(writer.WritesAhead());
  RunSearch(Window, Options(&writer), InsertAtBeginning("x"));
  ASSERT_TRUE(writer.Finish(TJournalEnd::Completed));

  EXPECT_EQ(RenamedIn(Tree), static_cast<std::size_t>(kFiles));
  EXPECT_EQ(writer.RenamedCount(), static_cast<std::uint64_t>(kFiles));
  const std::string bytes = state.ReadFile("j.vtj");
  std::size_t offset = kJournalSignature.size();
  std::map<char, std::uint64_t> rows;
  char last = 0;
  while (const std::optional<std::string_view> payload = NextJournalBlock(bytes, offset)) {
    last = payload->front();
    TJournalCursor cursor(payload->substr(1));
    std::uint64_t count = 0;
    ASSERT_TRUE(cursor.Number(count));
    rows[last] += count;
  }
  EXPECT_EQ(offset, bytes.size());
  EXPECT_EQ(rows[static_cast<char>(TJournalBlock::Intents)], static_cast<std::uint64_t>(kFiles));
  EXPECT_EQ(rows[static_cast<char>(TJournalBlock::Outcomes)], static_cast<std::uint64_t>(kFiles));
  EXPECT_EQ(last, static_cast<char>(TJournalBlock::End));
}

// What a pass killed before its end leaves: the journal read while its writer
// lives. Every intent awaited is there, and the zeros the file was grown by end
// the walk as a torn tail would, not as a block.
TEST(PassJournalOnDisk, AJournalCutOffReadsToItsLastBlock) {
  TTempFolder state;
  const std::string path = state.File("j.vtj");
  TPassJournalWriter writer;
  ASSERT_TRUE(writer.Create(path, TDurability::Disk, TJournalHeader{}));
  std::vector<std::string> names;
  for (int i = 0; i < 2000; ++i) names.push_back("name " + std::to_string(i));
  std::vector<TJournalEntry> entries;
  for (std::size_t i = 0; i < names.size(); ++i)
    entries.push_back({i, "/f/", names[i], "new name", TRenameStatus::rsCanBeRenamed, 0, true});
  const std::span<const TJournalEntry> all(entries);
  for (std::size_t from = 0; from < all.size(); from += 500) {
    const std::optional<std::uint64_t> ticket = writer.IntendAhead(all.subspan(from, 500));
    ASSERT_TRUE(ticket && writer.AwaitIntents(*ticket));
  }
  const std::string bytes = state.ReadFile("j.vtj");
  std::size_t offset = kJournalSignature.size();
  std::uint64_t intents = 0;
  while (const std::optional<std::string_view> payload = NextJournalBlock(bytes, offset)) {
    TJournalCursor cursor(payload->substr(1));
    std::uint64_t count = 0;
    ASSERT_TRUE(cursor.Number(count));
    if (payload->front() == static_cast<char>(TJournalBlock::Intents)) intents += count;
  }
  EXPECT_EQ(intents, names.size());
  EXPECT_LT(offset, bytes.size());
  EXPECT_EQ(bytes.find_first_not_of('\0', offset), std::string::npos);
  ASSERT_TRUE(writer.Finish(TJournalEnd::Stopped));
  EXPECT_LT(state.ReadFile("j.vtj").size(), bytes.size());
}

// Two masks list each file twice, and every folder holds the same names: the
// names a block looked at ahead belong to its own folder, never to the last
// block of the folder before (whose entries are gone by then). So the first
// listing of each file is looked at ahead, and its intent says which file it is.
TEST_F(PassJournalAheadTest, NamesLookedAtAheadStayWithTheirFolder) {
  constexpr int kFiles = 40;
  for (const std::string folder : {"", "a/", "a/b/", "c/"}) {
    if (!folder.empty()) Tree.Folder(folder);
    for (int i = 0; i < kFiles; ++i) Tree.File(folder + FileName(i));
  }
  TAheadJournal journal(false);
  TSearchPassOptions options = Options(&journal);
  options.Masks = "*.txt;0*";
  options.IncludeSubDirs = true;
  RunSearch(Window, options, InsertAtBeginning("x"));

  for (const std::string folder : {"", "a/", "a/b/", "c/"})
    for (int i = 0; i < kFiles; ++i) {
      EXPECT_TRUE(std::filesystem::exists(Tree.Root() + folder + "x" + FileName(i))) << folder << FileName(i);
      EXPECT_FALSE(std::filesystem::exists(Tree.Root() + folder + "xx" + FileName(i))) << folder << FileName(i);
    }
  EXPECT_EQ(journal.Identified, 4U * kFiles);
  EXPECT_EQ(journal.RenamedBeforeRecorded, 0U);
  ExpectEachIntentEndedOnce(journal);
}

}  // namespace
}  // namespace vt::test
