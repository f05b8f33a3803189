#include "cli/JournalRowOffset.h"

namespace vt {

std::span<const TJournalEntry> TJournalRowOffset::Numbered(std::span<const TJournalEntry> entries) {
  Scratch_.assign(entries.begin(), entries.end());
  for (TJournalEntry& entry : Scratch_) entry.Row += Offset_;
  return Scratch_;
}

bool TJournalRowOffset::Intend(std::span<const TJournalEntry> entries) { return Journal_.Intend(Numbered(entries)); }

void TJournalRowOffset::Settled(std::span<const TJournalEntry> entries) { Journal_.Settled(Numbered(entries)); }

bool TJournalRowOffset::Temporary(std::uint64_t row, std::string_view folder, std::string_view name) {
  return Journal_.Temporary(row + Offset_, folder, name);
}

void TJournalRowOffset::Withdrawn(std::span<const TJournalEntry> entries) { Journal_.Withdrawn(Numbered(entries)); }

}  // namespace vt
