// What the command line does where records or names could be turned against
// the user: a folder of records others could change is refused before any
// rename, a file is never given a hidden name, a crafted result file and a
// file-size limit end with a message and exit status 2.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "passes/PassJournalWriter.h"

namespace vt::test {
namespace {

namespace fs = std::filesystem;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::size_t EntriesIn(const fs::path& folder) {
  std::error_code ignored;
  std::size_t count = 0;
  for (fs::directory_iterator it(folder, ignored), end; !ignored && it != end; it.increment(ignored)) ++count;
  return count;
}

struct TUntrustedCase {
  const char* What;
  bool NeedsRoot;
  void (*Arrange)(const fs::path& records);
  const char* Said;
};

TEST(CliTrust, AFolderOfRecordsOthersCouldChangeStopsThePassBeforeItsFirstRename) {
  const TUntrustedCase cases[] = {
      {"world-writable", false, [](const fs::path& records) { fs::permissions(records, fs::perms::all); },
       "other users can write to "},
      {"another user's", true, [](const fs::path& records) { ASSERT_EQ(::chown(records.c_str(), 12345, 12345), 0); },
       "belongs to another user (uid 12345)"},
      {"a link into another user's folder", true,
       [](const fs::path& records) {
         const fs::path theirs = records.parent_path() / "theirs";
         fs::create_directories(theirs / "records");
         ASSERT_EQ(::chown(theirs.c_str(), 12345, 12345), 0);
         fs::remove(records);
         fs::create_directory_symlink(theirs / "records", records);
       },
       "belongs to another user (uid 12345)"},
  };
  for (const TUntrustedCase& c : cases) {
    SCOPED_TRACE(c.What);
    if (c.NeedsRoot && ::geteuid() != 0) continue;
    TTempFolder dir;
    TTempFolder state;
    dir.WriteFile("a.txt", "one");
    const fs::path records = state.Path() / "veltrane";
    fs::create_directories(records);
    fs::permissions(records, fs::perms::owner_all);
    c.Arrange(records);
    const std::vector<std::string> env{"XDG_STATE_HOME=" + state.Path().string()};

    for (const std::vector<std::string>& args : {std::vector<std::string>{"-x", dir.Folder(), "insert", "b"},
                                                 {"-x", "-o", state.File("kept.vtr"), dir.Folder(), "insert", "b"}}) {
      const TRun refused = RunProgram(args, dir.Path(), env);
      EXPECT_EQ(refused.Exit, 2);
      EXPECT_TRUE(Contains(refused.Err, c.Said)) << refused.Err;
      EXPECT_TRUE(Contains(refused.Err, "nothing was renamed")) << refused.Err;
      EXPECT_EQ(dir.Names(), std::set<std::string>{"a.txt"});
      EXPECT_EQ(EntriesIn(records), 0u);
    }
    const TRun recover = RunProgram({"recover", "--last"}, dir.Path(), env);
    EXPECT_EQ(recover.Exit, 2);
    EXPECT_TRUE(Contains(recover.Err, c.Said)) << recover.Err;
    EXPECT_TRUE(Contains(recover.Err, "no record there is read")) << recover.Err;

    // The user asked for no record: the pass runs, and says it cannot be undone.
    const TRun unsaved = RunProgram({"-x", "--no-save", dir.Folder(), "insert", "b"}, dir.Path(), env);
    EXPECT_EQ(unsaved.Exit, 0) << unsaved.Err;
    EXPECT_TRUE(Contains(unsaved.Err, "keeps no journal")) << unsaved.Err;
    EXPECT_EQ(dir.Names(), std::set<std::string>{"ab.txt"});
    EXPECT_EQ(EntriesIn(records), 0u);
  }
}

// A journal says gone.txt became important.txt, with a start later than any
// pass of the user's: undoing it would rename the user's file.
void PlantJournal(const std::string& path, const std::string& folder) {
  TPassJournalWriter writer;
  ASSERT_TRUE(
      writer.Create(path, TDurability::Kernel, {TJournalKind::Rename, 4070908800ull * 1000000000ull, folder, "*"}));
  const std::vector<TJournalEntry> intent{
      {0, folder, "gone.txt", "important.txt", TRenameStatus::rsCanBeRenamed, 0, true}};
  ASSERT_TRUE(writer.Intend(intent));
  ASSERT_TRUE(writer.Finish(TJournalEnd::Completed));
}

TEST(CliTrust, RecoverLastPassesOverAPlantedJournalAndSaysSo) {
  TTempFolder dir;
  TTempFolder state;
  dir.WriteFile("a.txt", "one");
  dir.WriteFile("important.txt", "mine");
  const std::vector<std::string> env{"XDG_STATE_HOME=" + state.Path().string()};
  const TRun pass = RunProgram({"-x", "-m", "a.txt", dir.Folder(), "insert", "b"}, dir.Path(), env);
  ASSERT_EQ(pass.Exit, 0) << pass.Err;
  const fs::path records = state.Path() / "veltrane";
  std::vector<std::string> planted{(records / "2099-01-01_00-00-00.vtj").string()};
  PlantJournal(state.File("elsewhere.vtj"), dir.Folder());
  fs::create_symlink(state.File("elsewhere.vtj"), planted[0]);
  if (::geteuid() == 0) {
    planted.push_back((records / "2099-01-01_00-00-01.vtj").string());
    PlantJournal(planted[1], dir.Folder());
    ASSERT_EQ(::chown(planted[1].c_str(), 12345, 12345), 0);
  }

  const TRun recover = RunProgram({"recover", "--last"}, dir.Path(), env);
  EXPECT_EQ(recover.Exit, 0) << recover.Err;
  for (const std::string& path : planted)
    EXPECT_TRUE(Contains(recover.Err, "warning: passed over " + path + ": it is a link or another user's file"))
        << recover.Err;
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"a.txt", "important.txt"}));
  EXPECT_EQ(dir.ReadFile("important.txt"), "mine");
}

TEST(CliTrust, ExtensionsLowerCasedAsSearchTextHideNoPhotoAndEveryRowSaysWhy) {
  TTempFolder dir;
  for (const char* name : {"IMG_1.JPG", "IMG_2.JPG", "IMG_3.JPG"}) dir.WriteFile(name, name);
  for (const char* mode : {"", "-x"}) {
    // --yes: the warning before the pass is answered as a user who goes on would.
    std::vector<std::string> args{"-f", "json", "--yes", "--no-save", dir.Folder(), "replace", ".JPG", ".jpg"};
    if (*mode != '\0') args.insert(args.begin(), mode);
    const TRun run = RunProgram(args, dir.Path());
    EXPECT_EQ(run.Exit, 1) << run.Err;
    const std::vector<std::string> rows = Lines(run.Out);
    EXPECT_EQ(rows.size(), 3u) << run.Out;
    for (const std::string& row : rows) {
      EXPECT_TRUE(Contains(row, "\"Status\":\"Error\"")) << row;
      EXPECT_TRUE(Contains(row, R"("reason":"the new name begins with \".\" and would hide the file")")) << row;
    }
    EXPECT_EQ(dir.Names(), (std::set<std::string>{"IMG_1.JPG", "IMG_2.JPG", "IMG_3.JPG"}));
  }
}

TEST(CliTrust, ARowClaimingNearlyAThousandMillionSubTextsIsNoResultFile) {
  TTempFolder dir;
  // A row block of one row claiming 999,999,900 sub-texts, in a sparse file
  // large enough to hold them as far as its size tells.
  const std::int32_t length = 0x7FFFFFF0;
  std::string bytes = "TPF0\x09TListView\x08ListView\x0aItems.Data\x0a";
  const auto le32 = [&bytes](std::int32_t value) {
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
  };
  le32(length);
  le32(length);  // BlockSize
  le32(1);       // RowCount
  for (const std::int32_t number : {0, -1, -1, 999999900, 0}) le32(number);
  bytes += std::string(
      "\x03"
      "cap",
      4);
  dir.WriteFile("crafted.vtr", bytes);
  fs::resize_file(dir.Path() / "crafted.vtr", bytes.size() + std::uint64_t{length});
  for (const char* command : {"show", "recover"}) {
    const TRun run = RunProgram({command, "crafted.vtr"}, dir.Path());
    EXPECT_EQ(run.Exit, 2) << command;
    EXPECT_EQ(run.Err, "veltrane-cli: File is not a valid Veltrane file result.\n") << command;
  }
}

TEST(CliTrust, AFileSizeLimitFailsTheJournalsWriteWithAMessage) {
  TTempFolder dir;
  for (int i = 0; i < 80; ++i) dir.WriteFile("a-rather-long-file-name-" + std::to_string(i) + ".txt");
  // 1024 bytes: the journal's intents are larger, the messages are not.
  const TRun run = RunProgram({"-x", "--no-save", dir.Folder(), "insert", "b"}, dir.Path(), {},
                              "sh -c 'ulimit -f 2; exec \"$0\" \"$@\"' ");
  EXPECT_EQ(run.Exit, 2) << run.Err;
  EXPECT_TRUE(Contains(run.Err, "File too large")) << run.Err;
}

}  // namespace
}  // namespace vt::test
