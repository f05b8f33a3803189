// The automatic result file of a pass: a private folder, the next free name of
// its second, and a failure that says why nothing may be renamed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/SysErrorText.h"
#include "results/AutomaticResultFiles.h"
#include "results/PassJournals.h"
#include "results/ResultFile.h"
#include "support/TempFolder.h"

namespace vt::test {
namespace {

namespace fs = std::filesystem;

constexpr std::time_t kNow = 1765186205;

fs::perms Mode(const std::string& path) { return fs::status(path).permissions() & fs::perms::all; }

// The name a reservation made, without ".vtr".
std::string Stem(const std::string& path) { return path.substr(0, path.size() - 4); }

TEST(AutomaticResultFiles, ReservingMakesAPrivateFolderAndTheNextFreeNameOfTheSecond) {
  TTempFolder dir;
  const std::string folder = dir.Folder() + "state/veltrane/";
  const TExpected<std::string, std::string> first = ReserveAutomaticFile(folder, kNow);
  ASSERT_TRUE(first) << first.Error();
  EXPECT_EQ(first->substr(0, folder.size()), folder);
  EXPECT_TRUE(IsAutomaticFileName(first->substr(folder.size())));
  EXPECT_EQ(Mode(folder), fs::perms::owner_all);
  EXPECT_EQ(Mode(*first), fs::perms::owner_read | fs::perms::owner_write);
  TResultTable table;
  EXPECT_TRUE(LoadResultFile(*first, table));  // a valid file without rows
  EXPECT_EQ(table.RowCount(), 0u);

  const TExpected<std::string, std::string> second = ReserveAutomaticFile(folder, kNow);
  ASSERT_TRUE(second) << second.Error();
  EXPECT_EQ(*second, Stem(*first) + "_002.vtr");
  // The name of a journal's record is passed over even when the record is gone.
  std::ofstream(JournalPathFor(Stem(*first) + "_003.vtr")) << "";
  const TExpected<std::string, std::string> fourth = ReserveAutomaticFile(folder, kNow);
  ASSERT_TRUE(fourth) << fourth.Error();
  EXPECT_EQ(*fourth, Stem(*first) + "_004.vtr");
}

TEST(AutomaticResultFiles, AFileThatCannotBeReservedSaysWhy) {
  TTempFolder dir;
  dir.WriteFile("file");
  const std::string underFile = dir.Folder() + "file/veltrane/";
  const std::string full = dir.Folder() + "full/";
  const std::string readOnly = dir.Folder() + "read-only/";
  struct Case {
    const char* What;
    std::string Folder;
    std::string Error;  // empty: cannot be tried here
  };
  const Case cases[] = {
      {"folder under a file", underFile, "cannot create " + underFile + ": " + SystemMessage(ENOTDIR)},
      {"every name of the second taken", full,
       "cannot create a result file in " + full + ": too many passes in one second"},
      // Permissions bind only users other than root.
      {"folder not writable", readOnly,
       ::geteuid() == 0 ? std::string() : "cannot create " + readOnly + "%: " + SystemMessage(EACCES)},
  };

  // Every name of the second taken: the first, and the journals of the rest.
  const TExpected<std::string, std::string> first = ReserveAutomaticFile(full, kNow);
  ASSERT_TRUE(first) << first.Error();
  for (int sequence = 2; sequence <= 999; ++sequence) {
    const std::string number = std::to_string(sequence);
    std::ofstream(Stem(*first) + "_" + std::string(3 - number.size(), '0') + number + ".vtj") << "";
  }
  fs::create_directories(readOnly);
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::owner_exec);

  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    if (c.Error.empty()) continue;
    const TExpected<std::string, std::string> reserved = ReserveAutomaticFile(c.Folder, kNow);
    ASSERT_FALSE(reserved) << *reserved;
    // "%" stands for the name of the file, which depends on the local time.
    const std::size_t name = c.Error.find('%');
    if (name == std::string::npos) {
      EXPECT_EQ(reserved.Error(), c.Error);
    } else {
      EXPECT_EQ(reserved.Error().substr(0, name), c.Error.substr(0, name));
      EXPECT_TRUE(reserved.Error().ends_with(c.Error.substr(name + 1))) << reserved.Error();
    }
  }
  fs::permissions(readOnly, fs::perms::owner_all);
}

}  // namespace
}  // namespace vt::test
