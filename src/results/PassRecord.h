#pragma once
// The record of a real pass, shared by the window and the command line: its
// journal is made in the records' folder before the first rename and, once its
// end mark is written, is the pass's record itself. What happened is told in codes; the front
// ends put it into words.
#include <cstdint>
#include <optional>
#include <string>

#include "engine/Error.h"
#include "passes/PassEnd.h"
#include "passes/PassJournalWriter.h"
#include "platform/AppendFile.h"
#include "platform/TrustedFolder.h"
#include "results/ResultFile.h"
#include "results/Retention.h"

namespace vt {

// Why a pass got no journal: then nothing may be renamed.
enum class TJournalFailure : std::uint8_t {
  None,
  FolderNotMade,   // the records' folder could not be made (Error)
  FolderRefused,   // another user could change the folder (Refused)
  JournalNotMade,  // the journal could not be created in it (Error)
};

// The folder's access is told whether or not the journal was made.
struct TJournalStart {
  TJournalFailure Failure = TJournalFailure::None;
  TError Error;        // of a folder or journal not made
  std::string Folder;  // the records' folder
  TFolderAccess Access = TFolderAccess::Private;
  std::optional<TUntrustedFolder> Refused;
  bool Created() const { return Failure == TJournalFailure::None; }
};

// Makes the folder (0700) when it is missing and creates the journal in it,
// named after `named` when given, else the next free automatic name.
TJournalStart StartPassJournal(const std::string& folder, TJournalHeader header,
                               const std::optional<std::string>& named, TDurability durability,
                               TPassJournalWriter& writer);

// How a journal ends: a failed write outweighs a stop.
TJournalEnd JournalEndOf(bool stopped, int writeError);

// Where the rows of a rename pass go once it has ended.
enum class TRecordPlace : std::uint8_t {
  Automatic,  // the journal itself, kept in the records' folder; the folder is pruned after
  Named,      // a file the user chose; a link there is followed
  None,       // no result file: the journal goes once the pass has ended as it should
};

struct TRecordTarget {
  TRecordPlace Place = TRecordPlace::Automatic;
  std::string Path;      // Named: the file
  bool Created = false;  // made empty before the pass to hold the name: removed when no row comes
  TRetention Keep;       // Automatic: the records the folder keeps
};

struct TPassRecord {
  std::string Journal;
  std::string Record;                  // the journal kept or the result file made; empty when there were no rows
  std::uint64_t Renamed = 0;           // files renamed by the pass (a result file's: settled from the disk)
  std::uint64_t Rows = 0;              // rows of the pass
  std::uint64_t NotUndoable = 0;       // rows the result file cannot undo: their folder is too long for it
  std::optional<TError> JournalError;  // a write of the journal failed; the pass stopped there
  std::optional<TError> ReadError;     // the journal could not be read back
  std::optional<TError> MarkError;     // a recover's mark on the journal it undid could not be written
  bool JournalRemoved = false;         // the journal held nothing left to undo and is gone
  std::string Undone;                  // the journal a recover marked undone (or failed to)
  TResultFileStatus Saved;             // the save of the result file
  bool Ok() const { return !JournalError && !ReadError && Saved.HasValue(); }
};

// Ends the journal of a rename pass. The automatic place keeps it as the
// record, with the counts its writer kept: nothing is read back. A named
// result file gets the rows read back from the journal a block at a time. A
// pass without rows leaves no journal and no result file. When the result file
// cannot be written the journal stays: it holds the rows.
TPassRecord FinishRenameRecord(TPassJournalWriter& journal, TPassStopped stopped, const TRecordTarget& target);

// The same for the window: the journal kept as the record, keeping the newest
// records of the folder within `keep`.
TPassRecord KeepPassRecord(TPassJournalWriter& journal, bool stopped, std::size_t kept);
TPassRecord KeepPassRecord(TPassJournalWriter& journal, bool stopped, const TRetention& keep);

// How a recover came to its end.
enum class TRecoverEnd : std::uint8_t {
  Completed,      // every row was tried: the journal it undid is marked
  Stopped,        // cut short: its rows stand, nothing is marked
  SourceChanged,  // the file it read changed under it: its journal stays, nothing is marked
};

// Ends the journal of a recover pass: once it has been written it goes. The
// journal whose rows it undid (when there is one) is marked undone, or partly
// undone with the rows left, when the recover ran to its end: a later "last
// record" then passes over it. A failed recover leaves its journal, which
// holds the renames back, unless it holds no row.
TPassRecord EndRecoverJournal(TPassJournalWriter& journal, const std::string& undoneJournal, TRecoverEnd end);
TPassRecord EndRecoverJournal(TPassJournalWriter& journal, const std::string& undoneJournal, TPassStopped stop);

}  // namespace vt
