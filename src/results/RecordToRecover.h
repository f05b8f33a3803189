#pragma once
// What a Recover takes from the records' folder, found the same way for the
// command line's recover --last and the window's start-up question, and what
// a file named for a recover holds. The front ends put the outcome into words.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/Expected.h"
#include "passes/UndoList.h"
#include "platform/TrustedFolder.h"
#include "results/AutomaticResultFiles.h"
#include "results/JournalReader.h"
#include "results/JournalRowStream.h"
#include "results/PassJournals.h"

namespace vt {

// Whether the file at path starts as a journal does.
bool FileIsJournal(const std::string& path);

// The journal a Recover of the rows of the file at path marks undone: the file
// itself when it is a journal, else the journal an older version's automatic
// record keeps beside it; empty when there is none.
std::string JournalOfRecord(const std::string& path);

// The journal at path with its rows settled from the disk where they were cut;
// fails as Read or NotJournal.
TExpected<TJournal> LoadSettledJournal(const std::string& path);

// The same rows as a recover renames them back, read a block at a time into
// a compact list: a journal of a million rows is never held whole. Fails as
// Read or NotJournal.
TExpected<TUndoList> LoadJournalToUndo(const std::string& path);
// The same of a journal opened (and so settled) already.
TExpected<TUndoList> UndoRowsOf(TJournalRowStream& opened);

// How the journal found is held: whole, or read a block at a time (Journal
// then holds its header and marks, Rows the stream to read its rows from).
enum class TJournalHeld : std::uint8_t { Whole, Streamed };

enum class TRecordWanted : std::uint8_t {
  Last,        // the newest record whose renames stand (recover --last)
  Unfinished,  // the newest rename pass that never ended (the window's question)
};

// Why nothing was found.
enum class TRecordMiss : std::uint8_t {
  None,
  NoFolder,       // neither XDG_STATE_HOME nor HOME gives the records' folder
  FolderRefused,  // another user could change the folder: nothing in it is read
  NoRecord,       // nothing in the folder to recover
};

struct TRecordToRecover {
  TRecordMiss Miss = TRecordMiss::None;
  std::string Folder;
  std::optional<TUntrustedFolder> Refused;
  std::vector<std::string> Foreign;     // links and others' files passed over, never read
  std::vector<TPassedOver> PassedOver;  // newer passes left out, that a person may want to know of
  std::string File;                     // the journal, or a result file of an older version
  bool IsJournal = false;
  TJournal Journal;                         // the journal's rows, settled from the disk
  std::unique_ptr<TJournalRowStream> Rows;  // Streamed: the journal, settled
  std::uint64_t Renamed = 0;                // of the journal's rows, those that stand renamed
  bool Found() const { return Miss == TRecordMiss::None; }
};

// Streamed only for the last record; the window's question wants the rows whole.
TRecordToRecover FindRecordToRecover(const TGetEnv& getEnv, TRecordWanted wanted,
                                     TJournalHeld held = TJournalHeld::Whole);

}  // namespace vt
