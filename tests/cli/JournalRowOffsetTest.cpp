#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "cli/JournalRowOffset.h"

namespace vt {
namespace {

struct TRowsSeen final : IPassJournal {
  std::vector<std::uint64_t> IntendedRows, SettledRows, WithdrawnRows;
  bool Intend(std::span<const TJournalEntry> entries) override {
    for (const TJournalEntry& entry : entries) IntendedRows.push_back(entry.Row);
    return true;
  }
  void Settled(std::span<const TJournalEntry> entries) override {
    for (const TJournalEntry& entry : entries) SettledRows.push_back(entry.Row);
  }
  void Withdrawn(std::span<const TJournalEntry> entries) override {
    for (const TJournalEntry& entry : entries) WithdrawnRows.push_back(entry.Row);
  }
};

// Two recovers of one file, each numbering its rows from 0, are one pass to the journal.
TEST(JournalRowOffset, BatchesAreNumberedAsOnePass) {
  TRowsSeen seen;
  TJournalRowOffset numbered(seen);
  const std::vector<TJournalEntry> batch{{0, "/f/", "a", "b"}, {1, "/f/", "c", "d"}};
  ASSERT_TRUE(numbered.Intend(batch));
  numbered.Settled(batch);
  numbered.Advance(batch.size());
  ASSERT_TRUE(numbered.Intend(batch));
  numbered.Settled(std::span(batch).first(1));
  numbered.Withdrawn(std::span(batch).last(1));

  EXPECT_EQ(seen.IntendedRows, (std::vector<std::uint64_t>{0, 1, 2, 3}));
  EXPECT_EQ(seen.SettledRows, (std::vector<std::uint64_t>{0, 1, 2}));
  EXPECT_EQ(seen.WithdrawnRows, (std::vector<std::uint64_t>{3}));
  // The pass's own entries are left as they were.
  EXPECT_EQ(batch[1].Row, 1u);
}

}  // namespace
}  // namespace vt
