#pragma once
// Reads a pass journal back: its header, its rows in the order of the pass,
// and what became of the pass (ended, recovered, or cut off). A row whose
// rename was intended but whose outcome never reached the journal is settled
// by looking at the disk.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Expected.h"
#include "engine/RenameStatus.h"
#include "passes/PassJournalWriter.h"
#include "passes/ResultTable.h"
#include "results/RowBlock.h"

namespace vt {

// Texts are views of the journal's bytes, which TJournal holds.
struct TJournalRow {
  std::uint64_t Index = 0;
  std::string_view Folder;
  std::string_view OldName;
  std::string_view NewName;
  TRenameStatus Status = TRenameStatus::rsCanBeRenamed;
  int Error = 0;
  bool Attempted = false;  // a rename was intended
  bool Settled = true;     // false: intended, outcome unknown
  bool Withdrawn = false;  // intended, then not attempted after all
};

struct TJournal {
  TJournal() = default;
  TJournal(TJournal&&) = default;
  TJournal& operator=(TJournal&&) = default;
  // A copy would point into the bytes of the original.
  TJournal(const TJournal&) = delete;
  TJournal& operator=(const TJournal&) = delete;

  std::string Bytes;
  TJournalHeader Header;
  std::vector<TJournalRow> Rows;  // by Index
  std::optional<TJournalEnd> End;
  bool Recovered = false;
  bool TornTail = false;  // bytes after the last intact block (a write cut off)
};

// True for bytes that start as a journal does.
bool IsJournal(std::string_view bytes);

// False when the bytes are no journal (signature or header missing or of a
// later version); a torn or damaged tail only ends the rows early.
bool ReadJournal(std::string bytes, TJournal& journal);
// The same from a file: the journal, or the errno (EINVAL for no journal).
TExpected<TJournal, int> LoadJournal(const std::string& path);

// Settles every row whose outcome is missing: renamed when the file is under
// its new name and not under its old one; a rename that did not happen leaves
// no row; both names taken is an "Error" row, which Recover leaves alone.
void SettleFromDisk(TJournal& journal);

// Renames of the journal that stand ("Ok").
std::size_t RenamedRows(const TJournal& journal);

// The rows as a pass would have put them in the result table.
void JournalToTable(const TJournal& journal, TResultTable& table);

// The block that marks a journal as undone by a recover pass at utcNs.
std::string RecoveredMark(std::uint64_t utcNs);

}  // namespace vt
