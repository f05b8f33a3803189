// Records are kept and read only where no other user could have put them: a
// folder others may change is refused before any journal is made, another
// user's journal or a link is never taken for a record, and the automatic
// result file is never written through a link swapped in at its place.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "results/AutomaticResultFiles.h"
#include "results/JournalReader.h"
#include "results/PassJournals.h"
#include "results/PassRecord.h"
#include "results/ResultFile.h"
#include "support/TempFolder.h"

namespace vt::test {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kOtherUid = 12345;
// 2099-01-01: a start time later than any pass of the user's.
constexpr std::uint64_t kFarFutureNs = 4070908800ull * 1000000000ull;

bool IsRoot() { return ::geteuid() == 0; }

struct TOneRow final : IRowSource {
  TResultRow Row;
  bool ForEach(const TRowCallback& row) override {
    row(Row);
    return true;
  }
};

class RecordTrust : public ::testing::Test {
 protected:
  RecordTrust() {
    fs::create_directories(Records());
    fs::permissions(Records(), fs::perms::owner_all);
    fs::create_directories(Files());
  }
  std::string Records() const { return Dir.Folder() + "records/"; }
  std::string Files() const { return Dir.Folder() + "files/"; }

  // A journal that says `from` was renamed to `to` in the files' folder; the
  // disk settles it as renamed when only `to` is there.
  void WriteJournal(const std::string& path, std::uint64_t startedNs, const std::string& from,
                    const std::string& to) const {
    TPassJournalWriter writer;
    ASSERT_TRUE(writer.Create(path, TDurability::Kernel, {TJournalKind::Rename, startedNs, Files(), "*"}));
    const std::string folder = Files();
    const std::vector<TJournalEntry> intent{{0, folder, from, to, TRenameStatus::rsCanBeRenamed, 0, true}};
    ASSERT_TRUE(writer.Intend(intent));
    ASSERT_TRUE(writer.Finish(TJournalEnd::Completed));
  }

  TTempFolder Dir;
};

TEST_F(RecordTrust, AFolderAnotherUserCouldChangeGetsNoJournal) {
  struct Case {
    const char* What;
    bool NeedsRoot;
    std::function<void(const std::string& records)> Arrange;
    TFolderFault Fault;
  };
  const Case cases[] = {
      {"world-writable", false, [](const std::string& records) { fs::permissions(records, fs::perms::all); },
       TFolderFault::OthersCanWrite},
      {"another user's", true,
       [](const std::string& records) { ASSERT_EQ(::chown(records.c_str(), kOtherUid, kOtherUid), 0); },
       TFolderFault::OwnedByOther},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    if (c.NeedsRoot && !IsRoot()) continue;
    fs::remove_all(Records());
    fs::create_directories(Records());
    fs::permissions(Records(), fs::perms::owner_all);
    c.Arrange(Records());
    TPassJournalWriter writer;
    const TJournalStart start =
        StartPassJournal(Records(), {TJournalKind::Rename, 0, Files(), "*"}, std::nullopt, TDurability::Kernel, writer);
    EXPECT_FALSE(start.Created());
    ASSERT_TRUE(start.Refused);
    EXPECT_EQ(start.Refused->Path, Records());
    EXPECT_EQ(start.Refused->Fault, c.Fault);
    EXPECT_TRUE(writer.Path().empty());
    EXPECT_TRUE(fs::is_empty(Records()));
  }
}

TEST_F(RecordTrust, AJournalThatIsALinkOrAnotherUsersIsNeverTaken) {
  std::ofstream(Files() + "important.txt") << "mine";
  // The user's own pass, older: b.txt became c.txt.
  std::ofstream(Files() + "c.txt") << "c";
  WriteJournal(Records() + "2026-01-01_10-00-00.vtj", 1000, "b.txt", "c.txt");
  // Planted, claiming the newest start: undoing it would rename important.txt.
  WriteJournal(Dir.Folder() + "elsewhere.vtj", kFarFutureNs, "gone.txt", "important.txt");
  fs::create_symlink(Dir.Folder() + "elsewhere.vtj", Records() + "2099-01-01_00-00-00.vtj");
  if (IsRoot()) {
    WriteJournal(Records() + "2099-01-01_00-00-01.vtj", kFarFutureNs + 1, "gone.txt", "important.txt");
    ASSERT_EQ(::chown((Records() + "2099-01-01_00-00-01.vtj").c_str(), kOtherUid, kOtherUid), 0);
    std::ofstream(Records() + "2099-01-01_00-00-02.vtr") << "planted";
    ASSERT_EQ(::chown((Records() + "2099-01-01_00-00-02.vtr").c_str(), kOtherUid, kOtherUid), 0);
  }

  const std::vector<TRecordFile> records = ListRecords(Records());
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].Journal, Records() + "2026-01-01_10-00-00.vtj");
  TJournal journal;
  const std::optional<TRecordFile> last = LastRecord(Records(), journal);
  ASSERT_TRUE(last);
  EXPECT_EQ(last->Journal, Records() + "2026-01-01_10-00-00.vtj");
  ASSERT_EQ(journal.Rows.size(), 1u);
  EXPECT_EQ(journal.Rows[0].NewName, "c.txt");
  // Neither a prune goes near what is not the user's.
  PruneRecords(Records(), 0);
  EXPECT_TRUE(fs::is_symlink(Records() + "2099-01-01_00-00-00.vtj"));
  EXPECT_TRUE(fs::exists(Dir.Folder() + "elsewhere.vtj"));
  if (IsRoot()) {
    EXPECT_TRUE(fs::exists(Records() + "2099-01-01_00-00-01.vtj"));
  }
}

TEST_F(RecordTrust, TheAutomaticResultFileIsNotWrittenThroughALinkSwappedIn) {
  std::ofstream(Dir.Folder() + "precious.txt") << "precious";
  const std::string automatic = Records() + "2026-01-01_10-00-00.vtr";
  fs::create_symlink(Dir.Folder() + "precious.txt", automatic);
  TOneRow rows;
  rows.Row.Folder = std::make_shared<const std::string>(Files());
  rows.Row.OldName = "a";
  rows.Row.NewName = "b";
  rows.Row.Status = TRenameStatus::rsOk;
  const TResultFileStatus saved = SaveResultRows(rows, automatic);
  ASSERT_FALSE(saved);
  EXPECT_EQ(saved.Error().SystemError, ELOOP);
  std::ifstream in(Dir.Folder() + "precious.txt");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "precious");
  // A path the user typed follows the link, as an editor does.
  EXPECT_TRUE(SaveResultRows(rows, automatic, TLinkAtTarget::Follow));
  EXPECT_TRUE(fs::is_symlink(automatic));
}

}  // namespace
}  // namespace vt::test
