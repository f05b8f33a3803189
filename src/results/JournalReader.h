#pragma once
// Reads a pass journal back: its header, its rows in the order of the pass,
// and what became of the pass (ended, recovered, or cut off). A row whose
// rename was intended but whose outcome never reached the journal is settled
// by looking at the disk.
#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Expected.h"
#include "engine/RenameStatus.h"
#include "passes/PassJournal.h"
#include "passes/PassJournalWriter.h"
#include "passes/ResultTable.h"
#include "platform/FileIdentity.h"
#include "results/RowBlock.h"

namespace vt {

struct TJournal {
  TJournal() = default;
  TJournal(TJournal&&) = default;
  TJournal& operator=(TJournal&&) = default;
  // A copy would point into the bytes of the original.
  TJournal(const TJournal&) = delete;
  TJournal& operator=(const TJournal&) = delete;

  std::string Bytes;
  TJournalHeader Header;
  std::vector<TJournalEntry> Rows;  // by Row; their texts view Bytes and OwnedTexts
  std::optional<TJournalEnd> End;
  bool Recovered = false;             // marked undone by an earlier version
  std::optional<TUndoneMark> Undone;  // the last mark a recover left
  std::string_view LeftRows;          // the rows that recover left, as a Left block's fields
  bool TornTail = false;              // bytes after the last intact block (a write cut off)
  std::size_t IntactBytes = 0;
  // Texts the disk gave when rows were settled (a temporary name found); a list keeps them in place.
  std::list<std::string> OwnedTexts;  // up to the end of the last intact block
};

// True for bytes that start as a journal does.
bool IsJournal(std::string_view bytes);

// False when the bytes are no journal (signature or header missing or of a
// later version); a torn or damaged tail only ends the rows early.
bool ReadJournal(std::string bytes, TJournal& journal);
// The failure of reading a journal at path: code EINVAL from the readers
// below means its bytes are no journal.
TError JournalReadError(int code, std::string path);

// The same from a file: the journal, or why not (Read or NotJournal).
TExpected<TJournal> LoadJournal(const std::string& path);
// The same of name in folder, read only when it is the user's own regular file,
// through the handle it was opened with (never a link).
TExpected<TJournal> LoadOwnJournal(const std::string& folder, const std::string& name);

// Settles every row whose outcome is missing, by the file its intent recorded
// (or, in a journal of an earlier version, by names; see JournalSettle.h). A
// file found under a temporary name of the pass is an "Error" row Recover
// brings back, and empty placeholders are removed. A rename that did not
// happen leaves no row; names taken by other files give an "Error" row,
// which Recover leaves alone.
void SettleFromDisk(TJournal& journal);

// Renames of the journal that stand ("Ok").
std::size_t RenamedRows(const TJournal& journal);

// The rows as a pass would have put them in the result table.
void JournalToTable(const TJournal& journal, TResultTable& table);

// The block that marks a journal as undone by a recover pass at utcNs.
std::string RecoveredMark(std::uint64_t utcNs);

}  // namespace vt
