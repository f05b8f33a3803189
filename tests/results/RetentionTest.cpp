// How many passes the folder of records keeps: the limits the configuration
// sets, and a prune by count and by size that never takes the newest pass, nor
// one that never ended, which only its journal can undo.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "passes/PassJournalWriter.h"
#include "results/PassJournals.h"
#include "results/Retention.h"
#include "support/TempFolder.h"

namespace vt::test {
namespace {

TEST(Retention, TheConfigurationSetsTheLimits) {
  struct Case {
    const char* Text;
    std::size_t Passes;
    std::uint64_t Megabytes;
  };
  const std::vector<Case> cases{
      {"", 50, 200},
      {"[History]\nKeptPasses=10\nKeptMegabytes=5\n", 10, 5},
      {"[General]\nPreviewNewNames=true\n\n[History]\n  KeptPasses = 7 \r\n", 7, 200},
      {"[General]\nKeptPasses=3\n", 50, 200},                       // another section's key
      {"[History]\nKeptPasses=many\nKeptMegabytes=-1\n", 50, 200},  // no whole number
      {"[History]\nKeptMegabytes=0\n[Other]\nKeptMegabytes=9\n", 50, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    const TRetention retention = RetentionFromConfiguration(c.Text);
    EXPECT_EQ(retention.Passes, c.Passes);
    EXPECT_EQ(retention.Bytes, c.Megabytes * kMegabyte);
  }
  TTempFolder config;
  config.WriteFile("veltrane/veltrane.conf", "[History]\nKeptPasses=4\n");
  const std::string home = config.Path().string();
  EXPECT_EQ(ReadRetention([&](const char* name) {
              return std::string_view(name) == "XDG_CONFIG_HOME" ? home.c_str() : nullptr;
            }).Passes,
            4U);
  EXPECT_EQ(ReadRetention([](const char*) { return nullptr; }).Passes, kAutomaticFilesKept);
}

TEST(Retention, PruneKeepsTheNewestWithinBothLimits) {
  enum class TEnds { Yes, Never, Orphan };  // Orphan: an older version's result file alone, no journal
  struct TPass {
    std::size_t Rows;  // of about 100 bytes each
    TEnds Ends = TEnds::Yes;
    std::size_t ResultBytes = 0;  // an older version's result file beside the journal, or the orphan's
  };
  struct Case {
    const char* What;
    std::vector<TPass> Passes;  // oldest first
    TRetention Keep;
    std::vector<bool> Kept;
  };
  const std::uint64_t tenRows = 1200;  // more than the journal of ten rows, less than of twenty
  const std::vector<Case> cases{
      {"by count", {{1}, {1}, {1}, {1}}, {2, UINT64_MAX}, {false, false, true, true}},
      {"by size", {{10}, {10}, {10}, {10}}, {50, 2 * tenRows}, {false, false, true, true}},
      {"whichever is less", {{10}, {1}, {1}, {1}}, {3, 2 * tenRows}, {false, true, true, true}},
      {"the newest, however large", {{1}, {30}}, {50, tenRows}, {false, true}},
      {"a pass that never ended", {{1}, {1, TEnds::Never}, {1}, {1}}, {1, UINT64_MAX}, {false, true, false, true}},
      // One kept file per pass now; what an older version kept beside a journal goes with it.
      {"a result file beside counts in the bytes",
       {{10, TEnds::Yes, tenRows}, {10}, {10}},
       {50, 3 * tenRows},
       {false, true, true}},
      {"a result file beside is no pass of its own",
       {{1, TEnds::Yes, 100}, {1, TEnds::Yes, 100}, {1}},
       {3, UINT64_MAX},
       {true, true, true}},
      {"an orphan is a pass", {{0, TEnds::Orphan, 100}, {1}, {1}}, {2, UINT64_MAX}, {false, true, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TTempFolder records;
    std::vector<std::string> journals;
    std::vector<std::string> results;
    for (std::size_t i = 0; i < c.Passes.size(); ++i) {
      const std::string path = records.File("2026-12-09_10-00-0" + std::to_string(i) + ".vtj");
      const std::string result = ResultPathFor(path);
      if (c.Passes[i].ResultBytes > 0) std::ofstream(result) << std::string(c.Passes[i].ResultBytes, 'r');
      results.push_back(c.Passes[i].ResultBytes > 0 ? result : std::string());
      journals.push_back(c.Passes[i].Ends == TEnds::Orphan ? std::string() : path);
      if (c.Passes[i].Ends == TEnds::Orphan) continue;
      TPassJournalWriter writer;
      ASSERT_TRUE(writer.Create(path, TDurability::Kernel, {TJournalKind::Rename, 100 + i, "/f/", "case upper"}));
      // An entry only views its names: they live here until the journal is written.
      std::vector<std::string> names;
      for (std::size_t row = 0; row < c.Passes[i].Rows; ++row) {
        names.push_back(std::string(40, 'a') + std::to_string(row));
        names.push_back(std::string(40, 'b') + std::to_string(row));
      }
      std::vector<TJournalEntry> entries;
      for (std::size_t row = 0; row < c.Passes[i].Rows; ++row)
        entries.push_back({row, "/f/", names[2 * row], names[2 * row + 1], TRenameStatus::rsOk, 0, true});
      ASSERT_TRUE(writer.Intend(entries));
      if (c.Passes[i].Ends == TEnds::Yes) {
        writer.Settled(entries);
        EXPECT_TRUE(writer.Finish(TJournalEnd::Completed));
      } else {
        // Killed after its intents: no end mark.
        const std::uint64_t intents = std::filesystem::file_size(path);
        EXPECT_TRUE(writer.Finish(TJournalEnd::Completed));
        std::filesystem::resize_file(path, intents);
      }
    }
    PruneRecords(records.Folder(), c.Keep);
    for (std::size_t i = 0; i < journals.size(); ++i) {
      for (const std::string& file : {journals[i], results[i]})
        if (!file.empty()) {
          EXPECT_EQ(std::filesystem::exists(file), c.Kept[i]) << file;
        }
    }
  }
}

}  // namespace
}  // namespace vt::test
