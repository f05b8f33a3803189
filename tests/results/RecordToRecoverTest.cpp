// What recover --last and the window's start-up question take from the
// records' folder, and the journal a recover of a file marks.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "results/PassJournals.h"
#include "results/PassRecord.h"
#include "results/RecordToRecover.h"
#include "support/TempFolder.h"

namespace vt::test {
namespace {

namespace fs = std::filesystem;

enum class TFolderHas { NoHome, OpenToOthers, Nothing, EndedPass, KilledPass };

class RecordToRecover : public ::testing::Test {
 protected:
  std::string Records() const { return Dir.Folder() + "veltrane/"; }

  TGetEnv Env(TFolderHas has) const {
    if (has == TFolderHas::NoHome) return [](const char*) -> const char* { return nullptr; };
    return [this](const char* name) -> const char* {
      return std::strcmp(name, "XDG_STATE_HOME") == 0 ? State.c_str() : nullptr;
    };
  }

  // The folder as the case has it; a pass renames a to xa.
  void Arrange(TFolderHas has) {
    fs::remove_all(Records());
    if (has == TFolderHas::NoHome) return;
    fs::create_directories(Records());
    fs::permissions(Records(), has == TFolderHas::OpenToOthers ? fs::perms::all : fs::perms::owner_all);
    if (has != TFolderHas::EndedPass && has != TFolderHas::KilledPass) return;
    Dir.WriteFile("files/xa");
    TPassJournalWriter writer;
    ASSERT_TRUE(StartPassJournal(Records(), {TJournalKind::Rename, 0, Dir.Folder() + "files/", "*"}, std::nullopt,
                                 TDurability::Kernel, writer)
                    .Created());
    const std::string folder = Dir.Folder() + "files/";
    const std::vector<TJournalEntry> intent{{0, folder, "a", "xa", TRenameStatus::rsCanBeRenamed, 0, true}};
    ASSERT_TRUE(writer.Intend(intent));
    Journal = writer.Path();
    if (has == TFolderHas::EndedPass) {
      ASSERT_TRUE(KeepPassRecord(writer, false, 50).Ok());
    }
  }  // a killed pass's writer goes without an end mark

  TTempFolder Dir;
  const std::string State = Dir.Path().string();
  std::string Journal;
};

TEST_F(RecordToRecover, LastTakesAnyPassWhoseRenamesStandTheQuestionOnlyOneThatNeverEnded) {
  struct Case {
    TFolderHas Has;
    TRecordWanted Wanted;
    TRecordMiss Miss;
  };
  const std::vector<Case> cases = {
      {TFolderHas::NoHome, TRecordWanted::Last, TRecordMiss::NoFolder},
      {TFolderHas::NoHome, TRecordWanted::Unfinished, TRecordMiss::NoFolder},
      {TFolderHas::OpenToOthers, TRecordWanted::Last, TRecordMiss::FolderRefused},
      {TFolderHas::OpenToOthers, TRecordWanted::Unfinished, TRecordMiss::FolderRefused},
      {TFolderHas::Nothing, TRecordWanted::Last, TRecordMiss::NoRecord},
      {TFolderHas::Nothing, TRecordWanted::Unfinished, TRecordMiss::NoRecord},
      {TFolderHas::EndedPass, TRecordWanted::Last, TRecordMiss::None},
      {TFolderHas::EndedPass, TRecordWanted::Unfinished, TRecordMiss::NoRecord},
      {TFolderHas::KilledPass, TRecordWanted::Last, TRecordMiss::None},
      {TFolderHas::KilledPass, TRecordWanted::Unfinished, TRecordMiss::None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases.data()));
    Journal.clear();
    ASSERT_NO_FATAL_FAILURE(Arrange(c.Has));
    const TRecordToRecover found = FindRecordToRecover(Env(c.Has), c.Wanted);
    EXPECT_EQ(found.Miss, c.Miss);
    EXPECT_EQ(found.Folder, c.Has == TFolderHas::NoHome ? "" : Records());
    EXPECT_EQ(found.Refused.has_value(), c.Miss == TRecordMiss::FolderRefused);
    if (!found.Found()) continue;
    EXPECT_TRUE(found.IsJournal);
    EXPECT_EQ(found.File, Journal);
    ASSERT_EQ(found.Journal.Rows.size(), 1u);
    EXPECT_EQ(RenamedRows(found.Journal), 1u);  // settled from the disk
  }
}

TEST_F(RecordToRecover, ARecoverOfAFileMarksItsOwnJournalOrTheOneBesideIt) {
  Dir.WriteFile("kept.vtr", "not a journal");
  Dir.WriteFile("alone.vtr", "not a journal");
  Dir.WriteFile("fake.vtr", "not a journal");
  Dir.WriteFile("fake.vtj", "not a journal either");
  TPassJournalWriter writer;
  ASSERT_TRUE(writer.Create(Dir.File("kept.vtj"), TDurability::Kernel, {TJournalKind::Rename, 1, Dir.Folder(), "*"}));
  ASSERT_TRUE(writer.Finish(TJournalEnd::Completed));
  struct Case {
    const char* File;
    const char* Journal;  // empty: none
  };
  const std::vector<Case> cases = {
      {"kept.vtj", "kept.vtj"}, {"kept.vtr", "kept.vtj"}, {"alone.vtr", ""}, {"fake.vtr", ""}, {"missing.vtr", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.File);
    EXPECT_EQ(JournalOfRecord(Dir.File(c.File)), *c.Journal ? Dir.File(c.Journal) : "");
    EXPECT_EQ(FileIsJournal(Dir.File(c.File)), std::string(c.File) == "kept.vtj");
  }
  EXPECT_TRUE(LoadSettledJournal(Dir.File("kept.vtj")));
  EXPECT_FALSE(LoadSettledJournal(Dir.File("fake.vtj")));
}

}  // namespace
}  // namespace vt::test
