// How a pass's journal ends, and which pass recover --last takes next: a
// recover's mark must land whatever tail the journal has, so that a pass
// undone, or undone as far as it can be, is passed over.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "passes/JournalFormat.h"
#include "passes/PassJournalWriter.h"
#include "results/JournalReader.h"
#include "results/JournalRowStream.h"
#include "results/PassJournals.h"
#include "results/UndoneMark.h"
#include "support/ErrorPrint.h"
#include "support/TempFolder.h"

namespace vt::test {
namespace {

namespace fs = std::filesystem;

enum class TTail { Ended, Torn, DiskFull, HeaderOnly, ZeroBytes };
enum class TAfter { Nothing, Recovered, RecoveredWithRefusedRow, RecoverKilled };
enum class TChoice { Older, Newer, None };

struct TPassFiles {
  std::string Folder;  // of the user's files, ends with "/"
  std::string Records;
};

// A rename pass of one file, old to new, renamed on the disk; its journal ends as tail says.
std::string WritePass(const TPassFiles& files, const std::string& name, std::uint64_t started, const std::string& old,
                      const std::string& renamed, TTail tail) {
  const std::string path = files.Records + name;
  if (tail == TTail::ZeroBytes) {
    std::ofstream{path};
    return path;
  }
  TPassJournalWriter writer;
  EXPECT_TRUE(writer.Create(path, TDurability::Kernel, {TJournalKind::Rename, started, files.Folder, "insert"}));
  if (tail != TTail::HeaderOnly) {
    const std::vector<TJournalEntry> intent{{0, files.Folder, old, renamed, TRenameStatus::rsCanBeRenamed, 0, true}};
    EXPECT_TRUE(writer.Intend(intent));
    std::ofstream(files.Folder + renamed) << old;
    writer.Settled(std::vector<TJournalEntry>{{0, files.Folder, old, renamed, TRenameStatus::rsOk, 0, true}});
  }
  if (tail == TTail::HeaderOnly) return path;  // killed before its first intents
  if (tail == TTail::Ended) {
    EXPECT_TRUE(writer.Finish(TJournalEnd::Completed));
    return path;
  }
  // A write cut off behind the last whole block: a kill in the middle of a
  // write, or the first half of the end mark, which a full disk (or the file
  // size limit) took no more of.
  std::string cut;
  if (tail == TTail::Torn) {
    cut.assign("\x30\x00\x00\x00\x11\x22\x33\x44", 8);
    cut.append("half of the intents");
  } else {
    const std::size_t begun = BeginBlock(cut, TJournalBlock::End);
    AppendNumber(cut, 1);
    cut.push_back(static_cast<char>(TJournalEnd::Failed));
    EndBlock(cut, begun);
    cut.resize(cut.size() / 2);
  }
  std::ofstream(path, std::ios::app | std::ios::binary) << cut;
  return path;
}

TEST(JournalTails, RecoverLastTakesTheNextOlderPassOnceOneIsUndone) {
  struct Case {
    const char* What;
    TTail Tail;
    TAfter After;
    TChoice Choice;
    std::size_t PassedOver;  // passes recover --last says it passed over
    bool NewerKept;          // the newer journal is still in the folder
  };
  const std::vector<Case> cases = {
      {"ended, not undone", TTail::Ended, TAfter::Nothing, TChoice::Newer, 0, true},
      {"ended, undone", TTail::Ended, TAfter::Recovered, TChoice::Older, 0, true},
      {"torn tail, undone", TTail::Torn, TAfter::Recovered, TChoice::Older, 0, true},
      {"disk full, undone", TTail::DiskFull, TAfter::Recovered, TChoice::Older, 0, true},
      {"torn tail, a row refused", TTail::Torn, TAfter::RecoveredWithRefusedRow, TChoice::Older, 1, true},
      {"ended, a row refused", TTail::Ended, TAfter::RecoveredWithRefusedRow, TChoice::Older, 1, true},
      {"ended, its recover killed", TTail::Ended, TAfter::RecoverKilled, TChoice::Newer, 1, true},
      {"header only", TTail::HeaderOnly, TAfter::Nothing, TChoice::Older, 0, false},
      {"0 bytes", TTail::ZeroBytes, TAfter::Nothing, TChoice::Older, 0, false},
  };
  // Recover --last reads the journals a block at a time; the choice is the same.
  for (const Case& c : cases)
    for (const bool streamed : {false, true}) {
      SCOPED_TRACE(std::string(c.What) + (streamed ? ", streamed" : ", whole"));
      TTempFolder user;
      TTempFolder state;
      const TPassFiles files{user.Folder(), state.Folder()};
      const std::string older = WritePass(files, "2026-01-01_00-00-01.vtj", 1000, "a", "A", TTail::Ended);
      const std::string newer = WritePass(files, "2026-01-01_00-00-02.vtj", 2000, "b", "B", c.Tail);
      if (c.After == TAfter::Recovered) {
        fs::rename(files.Folder + "B", files.Folder + "b");
        EXPECT_TRUE(MarkUndone(newer, 0, {}));
      } else if (c.After == TAfter::RecoveredWithRefusedRow) {
        TPassJournalWriter recover;
        ASSERT_TRUE(recover.Create(files.Records + "recover.tmp", TDurability::Kernel,
                                   {TJournalKind::Recover, 3000, newer, "recover"}));
        recover.Settled(std::vector<TJournalEntry>{{0, files.Folder, "B", "", TRenameStatus::rsError, 13, true}});
        EXPECT_TRUE(recover.Finish(TJournalEnd::Completed));
        EXPECT_TRUE(MarkUndone(newer, recover.RefusedCount(), recover.LeftRows()));
      } else if (c.After == TAfter::RecoverKilled) {
        TPassJournalWriter recover;
        ASSERT_TRUE(recover.Create(files.Records + "2026-01-01_00-00-03.vtj", TDurability::Kernel,
                                   {TJournalKind::Recover, 3000, newer, "recover"}));
        const std::vector<TJournalEntry> intent{{0, files.Folder, "B", "b", TRenameStatus::rsCanBeRenamed, 0, true}};
        EXPECT_TRUE(recover.Intend(intent));
      }

      TJournal journal;
      std::vector<TPassedOver> passedOver;
      std::unique_ptr<TJournalRowStream> rows;
      const std::optional<TRecordFile> chosen = streamed ? LastRecord(files.Records, journal, &passedOver, rows)
                                                         : LastRecord(files.Records, journal, &passedOver);
      EXPECT_EQ(rows != nullptr, streamed && chosen && !chosen->Journal.empty());
      if (rows) {
        EXPECT_EQ(rows->RenamedCount(), 1u);
      }
      const TChoice choice = !chosen ? TChoice::None : chosen->Journal == older ? TChoice::Older : TChoice::Newer;
      EXPECT_EQ(choice, c.Choice);
      EXPECT_EQ(passedOver.size(), c.PassedOver);
      EXPECT_EQ(fs::exists(newer), c.NewerKept);
      if (c.After == TAfter::RecoveredWithRefusedRow && !passedOver.empty()) {
        EXPECT_EQ(passedOver[0].RowsLeft, 1u);
        ASSERT_EQ(passedOver[0].Left.size(), 1u);
        EXPECT_EQ(passedOver[0].Left[0].Path, files.Folder + "B");
        EXPECT_EQ(passedOver[0].Left[0].Error, 13);
      }
      if (c.After == TAfter::RecoverKilled && !passedOver.empty()) {
        EXPECT_EQ(passedOver[0].Kind, TJournalKind::Recover);
      }
    }
}

// The state a history of passes shows is read from the journal's two ends
// alone, and agrees with a read of the whole journal.
TEST(JournalTails, StateFromTheEndsAgreesWithTheWholeJournal) {
  struct Case {
    const char* What;
    TTail Tail;
    int Left;  // -1: no recover
    TPassState State;
  };
  const std::vector<Case> cases = {
      {"ended", TTail::Ended, -1, TPassState::CanBeUndone},
      {"killed: torn", TTail::Torn, -1, TPassState::Unfinished},
      {"header only", TTail::HeaderOnly, -1, TPassState::Unfinished},
      {"undone", TTail::Ended, 0, TPassState::Undone},
      {"torn, then undone", TTail::Torn, 0, TPassState::Undone},
      {"disk full, then partly undone", TTail::DiskFull, 2, TPassState::PartlyUndone},
  };
  // Recover --last reads the journals a block at a time; the choice is the same.
  for (const Case& c : cases)
    for (const bool streamed : {false, true}) {
      SCOPED_TRACE(std::string(c.What) + (streamed ? ", streamed" : ", whole"));
      TTempFolder user;
      TTempFolder state;
      const TPassFiles files{user.Folder(), state.Folder()};
      const std::string path = WritePass(files, "2026-01-01_00-00-01.vtj", 1000, "a", "A", c.Tail);
      if (c.Left >= 0) {
        std::string left;
        for (int i = 0; i < c.Left; ++i) {
          AppendText(left, files.Folder);
          AppendText(left, "A");
          left.push_back(static_cast<char>(TRenameStatus::rsFileNotFound));
          AppendNumber(left, 0);
        }
        ASSERT_TRUE(MarkUndone(path, static_cast<std::uint64_t>(c.Left), left));
      }
      const TExpected<TPassState> fromEnds = ReadPassState(path);
      ASSERT_TRUE(fromEnds) << fromEnds.Error();
      EXPECT_EQ(*fromEnds, c.State);
      TExpected<TJournal> whole = LoadJournal(path);
      ASSERT_TRUE(whole);
      EXPECT_EQ(StateOf(*whole), c.State);
      EXPECT_EQ(LeftRowsOf(*whole).size(), static_cast<std::size_t>(std::max(c.Left, 0)));
      EXPECT_EQ(whole->Rows.size(), c.Tail == TTail::HeaderOnly ? 0u : 1u);
    }
}

}  // namespace
}  // namespace vt::test
