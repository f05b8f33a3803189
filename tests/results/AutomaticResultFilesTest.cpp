// The names of the records' folder: one per pass, by the local time it started
// and a sequence for more passes in one second, so that they sort as the passes
// started; anything else there is no record.
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "results/AutomaticResultFiles.h"
#include "results/PassJournals.h"

namespace vt::test {
namespace {

TEST(AutomaticResultFiles, NamesSortAsThePassesStartedAndOnlyTheyAreRecords) {
  std::tm local{};
  local.tm_year = 2026 - 1900;
  local.tm_mon = 11;
  local.tm_mday = 8;
  local.tm_hour = 9;
  local.tm_min = 30;
  local.tm_sec = 5;
  EXPECT_EQ(AutomaticFileName(local, 1), "2026-12-08_09-30-05.vtr");
  EXPECT_EQ(AutomaticFileName(local, 2), "2026-12-08_09-30-05_002.vtr");
  EXPECT_EQ(AutomaticFileName(local, 999), "2026-12-08_09-30-05_999.vtr");
  EXPECT_LT(AutomaticFileName(local, 1), AutomaticFileName(local, 2));
  EXPECT_EQ(JournalPathFor("/s/" + AutomaticFileName(local, 2)), "/s/2026-12-08_09-30-05_002.vtj");
  struct Case {
    const char* Name;
    bool Record;
  };
  const Case cases[] = {
      {"2026-12-08_09-30-05.vtr", true},
      {"2026-12-08_09-30-05_002.vtr", true},
      {"2026-12-08_09-30-05.vtj", false},  // a journal is told by its own extension
      {"2026-12-08_09-30-05_02.vtr", false},
      {"2026-12-08_09-30-05_0002.vtr", false},
      {"2026-12-08 09-30-05.vtr", false},
      {"2026-12-08_09-30-5.vtr", false},
      {"mine.vtr", false},
      {"2026-12-08_09-30-05.vtr.bak", false},
      {"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(IsAutomaticFileName(c.Name), c.Record);
  }
}

}  // namespace
}  // namespace vt::test
