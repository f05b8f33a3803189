#pragma once
// A journal seen by one of several recover passes over one file: each pass
// numbers its rows from 0, the journal must see one numbering for them all.
#include <cstdint>
#include <span>
#include <vector>

#include "passes/PassJournal.h"

namespace vt {

class TJournalRowOffset final : public IPassJournal {
 public:
  explicit TJournalRowOffset(IPassJournal& journal) : Journal_(journal) {}

  // The next pass's rows come after count more rows.
  void Advance(std::uint64_t count) { Offset_ += count; }

  bool Intend(std::span<const TJournalEntry> entries) override;
  void Settled(std::span<const TJournalEntry> entries) override;
  void Withdrawn(std::span<const TJournalEntry> entries) override;
  bool Temporary(std::uint64_t row, std::string_view folder, std::string_view name) override;

 private:
  std::span<const TJournalEntry> Numbered(std::span<const TJournalEntry> entries);

  IPassJournal& Journal_;
  std::uint64_t Offset_ = 0;
  std::vector<TJournalEntry> Scratch_;
};

}  // namespace vt
