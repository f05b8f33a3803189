#pragma once
// The history of passes: the rename passes whose journals the folder of
// records keeps, newest first, each read from its journal's header and last
// blocks only (the rows of a pass are read when it is chosen). A pass is
// named by a short id, made from its journal's name, so that it stays the
// same while newer passes come and older ones go. What else the folder holds
// that a person may need is listed with them: a result file an older version
// kept whose journal is gone, and a recover that never ended.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Expected.h"
#include "passes/JournalFormat.h"
#include "results/UndoneMark.h"

namespace vt {

enum class THistoryKind : std::uint8_t {
  Pass,     // a rename pass, read from its journal
  Orphan,   // a result file an older version kept beside a journal that is gone
  Recover,  // a recover's journal that never ended: it holds the renames it made back
};

struct THistoryEntry {
  THistoryKind Kind = THistoryKind::Pass;
  std::string Id;       // the shortest start of Key, at least 6 digits, that no other entry shares
  std::string Key;      // 16 hexadecimal digits
  std::string Journal;  // its path; an orphan's is its result file
  std::uint64_t StartedUtcNs = 0;
  std::string Folder;  // a recover's: the record it undid; an orphan's: the folder of its first row
  std::string What;    // operation, settings and masks, as the pass described them; none for an orphan
  TPassState State = TPassState::Unfinished;
  bool Running = false;  // its writer lives: a pass in progress
  std::optional<TJournalEnd> End;
  std::optional<std::uint64_t> Rows;     // rows in all, when the journal ended
  std::optional<std::uint64_t> Renamed;  // "Ok" rows: from the end mark, else counted against the disk
  std::uint64_t Bytes = 0;               // the file's size
};

// Whether an entry's files stand renamed by it: a pass that can be undone or
// never ended, whose writer is gone.
bool Stands(const THistoryEntry& entry);

// The pass of one journal, a rename's or a recover's: header, state and counts.
// Fails as Read or NotJournal. Key and Id are left to ReadHistory.
TExpected<THistoryEntry> ReadHistoryEntry(const std::string& journal);
// The same for a result file kept without its journal: started when it was
// last written, its rows counted.
TExpected<THistoryEntry> ReadOrphanEntry(const std::string& resultFile);

// The rename passes of the folder of records (ending with "/"), with its
// orphans and recovers that never ended, newest first.
std::vector<THistoryEntry> ReadHistory(const std::string& folder);

// "3fa9c2": a journal's key from its file name.
std::string HistoryKey(std::string_view journalName);

// The entry that text names: a start of an id (4 digits or more), or the
// journal's file name with or without its extension.
struct THistoryMatch {
  std::optional<std::size_t> Index;  // into the entries
  std::size_t Candidates = 0;        // more than one: the text is ambiguous
};
THistoryMatch FindHistoryEntry(const std::vector<THistoryEntry>& entries, std::string_view text);

// What undoing one pass alone would miss: later passes that stand (can be
// undone, or never ended) and renamed again files that it renamed, or a
// folder above them, and through them the passes after those.
struct TLaterPass {
  std::size_t Index = 0;    // into the entries
  std::uint64_t Files = 0;  // files of the chosen pass this one renamed again
};
struct TLaterPasses {
  std::uint64_t Files = 0;        // files of the chosen pass renamed again by any of them
  std::vector<TLaterPass> Later;  // newest first, as they would be undone
};
// entries newest first, as ReadHistory gives them; chosen indexes them. Reads
// the rows of the chosen pass and of every later one that stands. Fails as the
// first journal or result file that cannot be read.
TExpected<TLaterPasses> FindLaterPasses(const std::vector<THistoryEntry>& entries, std::size_t chosen);

}  // namespace vt
