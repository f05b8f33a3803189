// The history of passes: each read from its journal's two ends, the state and
// counts a recover left there found behind its marks, and the later passes
// that undoing an earlier one alone would miss.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "passes/JournalFormat.h"
#include "passes/PassJournalWriter.h"
#include "platform/AppendFile.h"
#include "results/PassHistory.h"
#include "results/ResultFile.h"
#include "results/UndoneMark.h"
#include "support/TempFolder.h"

namespace vt::test {
namespace {

struct TRename {
  std::string Folder;  // ends with "/"
  std::string Old;
  std::string New;
  TRenameStatus Status = TRenameStatus::rsOk;
};

enum class TEnding { Ended, OlderEndMark, NoEnd, HeaderOnly };

// A rename pass's journal; with NoEnd, rows whose outcome never came (settled from the disk).
std::string WriteJournal(const std::string& path, std::uint64_t started, const std::vector<TRename>& renames,
                         TEnding ending = TEnding::Ended) {
  TPassJournalWriter writer;
  EXPECT_TRUE(writer.Create(path, TDurability::Kernel, {TJournalKind::Rename, started, "/pass/", "insert \"x\"; *.*"}));
  if (ending == TEnding::HeaderOnly) return path;
  std::vector<TJournalEntry> intents;
  std::vector<TJournalEntry> outcomes;
  for (std::size_t i = 0; i < renames.size(); ++i) {
    const TRename& r = renames[i];
    intents.push_back({i, r.Folder, r.Old, r.New, TRenameStatus::rsCanBeRenamed, 0, true});
    outcomes.push_back({i, r.Folder, r.Old, r.New, r.Status, 0, true});
  }
  EXPECT_TRUE(writer.Intend(intents));
  if (ending == TEnding::NoEnd) {
    // Killed after its intents: the file of a second write never came.
    EXPECT_TRUE(writer.Finish(TJournalEnd::Completed));
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(path, bytes), 0);
    std::size_t offset = kJournalSignature.size();
    std::size_t kept = offset;
    while (const auto block = NextJournalBlock(bytes, offset))
      if (static_cast<TJournalBlock>((*block)[0]) == TJournalBlock::Intents) kept = offset;
    std::filesystem::resize_file(path, kept);
    return path;
  }
  writer.Settled(outcomes);
  if (ending == TEnding::Ended) {
    EXPECT_TRUE(writer.Finish(TJournalEnd::Completed));
    return path;
  }
  // An earlier version's end mark: rows in all and how, no count of renames.
  EXPECT_TRUE(writer.Finish(TJournalEnd::Completed));
  std::string bytes;
  EXPECT_EQ(ReadWholeFile(path, bytes), 0);
  std::size_t offset = kJournalSignature.size();
  std::size_t end = offset;
  for (std::size_t at = offset; const auto block = NextJournalBlock(bytes, offset); at = offset)
    if (static_cast<TJournalBlock>((*block)[0]) == TJournalBlock::End) end = at;
  std::string mark;
  const std::size_t begun = BeginBlock(mark, TJournalBlock::End);
  AppendNumber(mark, renames.size());
  mark.push_back(static_cast<char>(TJournalEnd::Completed));
  EndBlock(mark, begun);
  EXPECT_EQ(ReplaceFileTail(path, end, mark), 0);
  return path;
}

std::string LeftRow(std::string_view folder, std::string_view name) {
  std::string fields;
  AppendText(fields, folder);
  AppendText(fields, name);
  fields.push_back(static_cast<char>(TRenameStatus::rsFileNotFound));
  AppendNumber(fields, 0);
  return fields;
}

TEST(PassHistory, StateAndCountsComeFromTheJournalsEnds) {
  enum class TAfter { Nothing, Undone, PartlyUndone, PartlyUndoneWithManyRowsLeft, UndoneTwice };
  struct Case {
    const char* What;
    TEnding Ending;
    TAfter After;
    TPassState State;
    std::optional<std::uint64_t> Rows;
    std::uint64_t Renamed;
  };
  const std::vector<Case> cases{
      {"ended", TEnding::Ended, TAfter::Nothing, TPassState::CanBeUndone, 3, 2},
      {"undone", TEnding::Ended, TAfter::Undone, TPassState::Undone, 3, 2},
      {"partly undone", TEnding::Ended, TAfter::PartlyUndone, TPassState::PartlyUndone, 3, 2},
      // The Left block is longer than the end read: the renames are counted through the rows.
      {"partly undone, a long list left", TEnding::Ended, TAfter::PartlyUndoneWithManyRowsLeft,
       TPassState::PartlyUndone, std::nullopt, 2},
      {"undone, then again", TEnding::Ended, TAfter::UndoneTwice, TPassState::Undone, 3, 2},
      {"an earlier version's end mark", TEnding::OlderEndMark, TAfter::Nothing, TPassState::CanBeUndone, 3, 2},
      {"cut off after its intents", TEnding::NoEnd, TAfter::Nothing, TPassState::Unfinished, std::nullopt, 1},
      {"header only", TEnding::HeaderOnly, TAfter::Nothing, TPassState::Unfinished, std::nullopt, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TTempFolder dir;
    // On the disk as the pass left it: "a" renamed, "c" not (its row failed), "e" renamed.
    dir.WriteFile("b");
    dir.WriteFile("c");
    if (c.Ending != TEnding::NoEnd) dir.WriteFile("f");
    const std::string path = WriteJournal(
        dir.File("2026-12-09_10-00-00.vtj"), 100,
        {{dir.Folder(), "a", "b"}, {dir.Folder(), "c", "d", TRenameStatus::rsError}, {dir.Folder(), "e", "f"}},
        c.Ending);
    switch (c.After) {
      case TAfter::Nothing: break;
      case TAfter::Undone: ASSERT_TRUE(MarkUndone(path, 0, {})); break;
      case TAfter::PartlyUndone: ASSERT_TRUE(MarkUndone(path, 1, LeftRow(dir.Folder(), "b"))); break;
      case TAfter::PartlyUndoneWithManyRowsLeft: {
        std::string left;
        for (int i = 0; i < 5000; ++i)
          left += LeftRow(dir.Folder(), "a long name of a file left behind " + std::to_string(i));
        ASSERT_TRUE(MarkUndone(path, 5000, left));
        break;
      }
      case TAfter::UndoneTwice:
        ASSERT_TRUE(MarkUndone(path, 1, LeftRow(dir.Folder(), "b")));
        ASSERT_TRUE(MarkUndone(path, 0, {}));
        break;
    }
    const TExpected<THistoryEntry> entry = ReadHistoryEntry(path);
    ASSERT_TRUE(entry.HasValue());
    EXPECT_EQ(entry->State, c.State);
    EXPECT_EQ(entry->Rows, c.Rows);
    EXPECT_EQ(entry->Renamed, c.Renamed);
    EXPECT_FALSE(entry->Running);
    EXPECT_EQ(entry->Folder, "/pass/");
    EXPECT_EQ(entry->What, "insert \"x\"; *.*");
    EXPECT_EQ(entry->StartedUtcNs, 100U);
  }
}

TEST(PassHistory, ReadsARecoverJournalAsOneButNoOtherFile) {
  TTempFolder dir;
  TPassJournalWriter recover;
  ASSERT_TRUE(recover.Create(dir.File("r.vtj"), TDurability::Kernel, {TJournalKind::Recover, 1, "/x.vtj", "recover"}));
  EXPECT_TRUE(recover.Finish(TJournalEnd::Completed));
  const TExpected<THistoryEntry> entry = ReadHistoryEntry(dir.File("r.vtj"));
  ASSERT_TRUE(entry.HasValue());
  EXPECT_EQ(entry->Kind, THistoryKind::Recover);
  EXPECT_EQ(entry->Folder, "/x.vtj");
  dir.WriteFile("text.vtj", "not a journal at all");
  for (const char* name : {"text.vtj", "missing.vtj"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(ReadHistoryEntry(dir.File(name)).HasValue());
  }
}

// Besides the passes, what a person may need of the folder: an older
// version's result file whose journal is gone, and a recover that never
// ended. A recover that ended, and a result file beside its journal, are not
// entries of their own.
TEST(PassHistory, OrphansAndRecoversCutShortAreListedForWhatTheyAre) {
  TTempFolder records;
  TTempFolder files;
  const std::string folder = files.Folder();
  WriteJournal(records.File("2026-12-09_10-00-00.vtj"), 100, {{folder, "a", "b"}});
  // The result file an older version kept beside that journal.
  TResultTable beside;
  beside.AppendRows({TResultRow::FromTexts("a", "b", folder, "Ok")});
  ASSERT_TRUE(SaveResultFile(beside, records.File("2026-12-09_10-00-00.vtr")));
  // An orphan: 2 rows, 1 of them renamed.
  TResultTable orphan;
  orphan.AppendRows({TResultRow::FromTexts("c", "d", folder, "Ok"), TResultRow::FromTexts("e", "e", folder, "Error")});
  ASSERT_TRUE(SaveResultFile(orphan, records.File("2026-12-08_09-00-00.vtr")));
  // A recover cut short, and one that ended.
  for (const bool ended : {false, true}) {
    TPassJournalWriter recover;
    const std::string name = ended ? "2026-12-09_10-00-02.vtj" : "2026-12-09_10-00-01.vtj";
    ASSERT_TRUE(recover.Create(
        records.File(name), TDurability::Kernel,
        {TJournalKind::Recover, ended ? 300U : 200U, records.File("2026-12-09_10-00-00.vtj"), "recover"}));
    const std::vector<TJournalEntry> intent{{0, folder, "b", "a", TRenameStatus::rsCanBeRenamed, 0, true}};
    ASSERT_TRUE(recover.Intend(intent));
    if (ended) {
      ASSERT_TRUE(recover.Finish(TJournalEnd::Completed));
    } else {
      // Killed: the lock goes with the process, the end mark never comes.
      std::string bytes;
      ASSERT_TRUE(recover.Finish(TJournalEnd::Completed));
      ASSERT_EQ(ReadWholeFile(records.File(name), bytes), 0);
      std::size_t offset = kJournalSignature.size();
      std::size_t kept = offset;
      while (const auto block = NextJournalBlock(bytes, offset))
        if (static_cast<TJournalBlock>((*block)[0]) == TJournalBlock::Intents) kept = offset;
      std::filesystem::resize_file(records.File(name), kept);
    }
  }
  const std::vector<THistoryEntry> history = ReadHistory(records.Folder());
  struct Expected {
    THistoryKind Kind;
    std::string File;
    std::optional<std::uint64_t> Renamed;
  };
  // The orphan was written now, after the journals' starts in 1970.
  const std::vector<Expected> expected{
      {THistoryKind::Orphan, records.File("2026-12-08_09-00-00.vtr"), 1},
      {THistoryKind::Recover, records.File("2026-12-09_10-00-01.vtj"), std::nullopt},
      {THistoryKind::Pass, records.File("2026-12-09_10-00-00.vtj"), 1},
  };
  ASSERT_EQ(history.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(expected[i].File);
    EXPECT_EQ(history[i].Kind, expected[i].Kind);
    EXPECT_EQ(history[i].Journal, expected[i].File);
    if (expected[i].Renamed) {
      EXPECT_EQ(history[i].Renamed, expected[i].Renamed);
    }
    EXPECT_TRUE(FindHistoryEntry(history, history[i].Id).Index == i);
  }
  EXPECT_EQ(history[0].Rows, 2U);
  EXPECT_EQ(history[0].Folder, folder);
  EXPECT_EQ(history[1].State, TPassState::Unfinished);
  EXPECT_EQ(history[1].Folder, records.File("2026-12-09_10-00-00.vtj"));
  // Neither stands for a later pass of another; an orphan's own later passes are found.
  EXPECT_FALSE(Stands(history[0]));
  EXPECT_FALSE(Stands(history[1]));
  EXPECT_TRUE(Stands(history[2]));
}

TEST(PassHistory, NewestFirstAndFoundByIdOrName) {
  TTempFolder records;
  const std::vector<std::string> names{"2026-12-09_10-00-00", "2026-12-09_10-00-01", "2026-12-09_10-00-02"};
  // Started out of the order of their names: the time inside orders them.
  const std::vector<std::uint64_t> started{300, 100, 200};
  for (std::size_t i = 0; i < names.size(); ++i)
    WriteJournal(records.File(names[i] + ".vtj"), started[i], {{"/f/", "a" + std::to_string(i), "b"}});
  const std::vector<THistoryEntry> history = ReadHistory(records.Folder());
  ASSERT_EQ(history.size(), 3U);
  EXPECT_EQ(history[0].StartedUtcNs, 300U);
  EXPECT_EQ(history[1].StartedUtcNs, 200U);
  EXPECT_EQ(history[2].StartedUtcNs, 100U);
  for (const THistoryEntry& entry : history) {
    EXPECT_GE(entry.Id.size(), 6U);
    EXPECT_TRUE(entry.Key.starts_with(entry.Id));
    EXPECT_EQ(entry.Key, HistoryKey(std::filesystem::path(entry.Journal).filename().string()));
  }
  struct Case {
    std::string Text;
    std::optional<std::size_t> Index;
  };
  const std::vector<Case> cases{
      {history[1].Id, 1},
      {history[2].Key, 2},
      {history[0].Id.substr(0, 4), 0},
      {history[0].Id.substr(0, 3), std::nullopt},  // too short to be an id
      {names[0], 0},
      {names[0] + ".vtj", 0},
      {"zzzzzz", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(FindHistoryEntry(history, c.Text).Index, c.Index);
  }
  // Two keys that start alike: the start they share names neither.
  std::vector<THistoryEntry> alike(2);
  alike[0].Key = "abcdef0123456789";
  alike[1].Key = "abcdef9876543210";
  const THistoryMatch both = FindHistoryEntry(alike, "abcdef");
  EXPECT_FALSE(both.Index);
  EXPECT_EQ(both.Candidates, 2U);
  EXPECT_EQ(FindHistoryEntry(alike, "abcdef9").Index, 1U);
}

TEST(PassHistory, LaterPassesThatRenamedTheSameFilesAgain) {
  enum class TLater { Stands, Undone };
  struct TPass {
    std::vector<TRename> Renames;
    TLater After = TLater::Stands;
  };
  struct Case {
    const char* What;
    std::vector<TPass> Passes;  // oldest first; the first is the one chosen
    std::uint64_t Files;
    std::vector<std::size_t> Later;  // indexes into Passes, newest first
  };
  const std::vector<Case> cases{
      {"none later", {{{{"/f/", "a", "b"}}}}, 0, {}},
      {"one file again", {{{{"/f/", "a", "b"}, {"/f/", "c", "d"}}}, {{{"/f/", "b", "x"}}}}, 1, {1}},
      {"again and again", {{{{"/f/", "a", "b"}}}, {{{"/f/", "b", "c"}}}, {{{"/f/", "c", "d"}}}}, 1, {2, 1}},
      {"another folder's file of the same name", {{{{"/f/", "a", "b"}}}, {{{"/g/", "b", "c"}}}}, 0, {}},
      {"a later pass undone", {{{{"/f/", "a", "b"}}}, {{{"/f/", "b", "c"}}, TLater::Undone}}, 0, {}},
      {"a failed rename of it", {{{{"/f/", "a", "b"}}}, {{{"/f/", "b", "c", TRenameStatus::rsError}}}}, 0, {}},
      {"its folder renamed",
       {{{{"/f/sub/", "a", "b"}}}, {{{"/f/", "sub", "top"}}}, {{{"/f/top/", "b", "c"}}}},
       1,
       {2, 1}},
      {"a pass between that touches nothing of it",
       {{{{"/f/", "a", "b"}}}, {{{"/f/", "q", "r"}}}, {{{"/f/", "b", "c"}}}},
       1,
       {2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TTempFolder records;
    for (std::size_t i = 0; i < c.Passes.size(); ++i) {
      const std::string path =
          WriteJournal(records.File("2026-12-09_10-00-0" + std::to_string(i) + ".vtj"), 100 + i, c.Passes[i].Renames);
      if (c.Passes[i].After == TLater::Undone) {
        ASSERT_TRUE(MarkUndone(path, 0, {}));
      }
    }
    const std::vector<THistoryEntry> history = ReadHistory(records.Folder());
    ASSERT_EQ(history.size(), c.Passes.size());
    // Newest first: pass i of the case is entry size - 1 - i.
    const TExpected<TLaterPasses> later = FindLaterPasses(history, history.size() - 1);
    ASSERT_TRUE(later.HasValue());
    EXPECT_EQ(later->Files, c.Files);
    std::vector<std::size_t> found;
    for (const TLaterPass& pass : later->Later) found.push_back(history.size() - 1 - pass.Index);
    EXPECT_EQ(found, c.Later);
  }
}

}  // namespace
}  // namespace vt::test
