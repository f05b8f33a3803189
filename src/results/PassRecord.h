#pragma once
// The record of a real pass, shared by the window and the command line: its
// journal is made in the records' folder before the first rename and becomes
// the pass's automatic result file at its end.
#include <cstdint>
#include <optional>
#include <string>

#include "engine/Expected.h"
#include "passes/PassEnd.h"
#include "passes/PassJournalWriter.h"
#include "platform/TrustedFolder.h"
#include "results/ResultFile.h"
#include "results/Retention.h"

namespace vt {

// The warning is the folder's: it holds whether or not the journal was made.
struct TJournalStart {
  TExpected<void, std::string> Created;  // or why there is no journal: nothing may be renamed
  std::string Warning;                   // the folder is open to others' eyes
  // Another user could change the folder: no journal was made there.
  std::optional<TUntrustedFolder> Refused;
};

// Makes the folder (0700) when it is missing and creates the journal in it,
// named after `named` when given, else the next free automatic name.
TJournalStart StartPassJournal(const std::string& folder, TJournalHeader header,
                               const std::optional<std::string>& named, TDurability durability,
                               TPassJournalWriter& writer);

// How a journal ends: a failed write outweighs a stop.
TJournalEnd JournalEndOf(bool stopped, int writeError);

struct TPassRecord {
  std::string Journal;
  std::string Record;         // the result file made, empty when there were no rows
  std::uint64_t Renamed = 0;  // files renamed by the pass, settled from the disk
  int JournalError = 0;       // a write of the journal failed; the pass stopped there
  int ReadError = 0;          // the journal could not be read back
  int MarkError = 0;          // a recover's mark on the journal it undid could not be written
  TResultFileStatus Saved;    // the save of the result file
  bool Ok() const { return JournalError == 0 && ReadError == 0 && Saved.HasValue(); }
};

// Ends the journal of a rename pass and saves its rows beside it as the
// automatic result file, keeping the newest `kept` records of the folder. A
// pass without rows leaves neither file. When the result file cannot be
// written the journal stays: it holds the rows.
TPassRecord KeepPassRecord(TPassJournalWriter& journal, bool stopped, std::size_t kept);
TPassRecord KeepPassRecord(TPassJournalWriter& journal, bool stopped, const TRetention& keep);

// Ends the journal of a recover pass: once it has been written it goes. The
// journal whose rows it undid (when there is one) is marked undone, or partly
// undone with the rows left, when the recover ran to its end: a later "last
// record" then passes over it. A failed recover leaves its journal, which
// holds the renames back, unless it holds no row.
TPassRecord EndRecoverJournal(TPassJournalWriter& journal, const std::string& undoneJournal, TPassStopped stop);

}  // namespace vt
