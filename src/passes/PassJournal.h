#pragma once
// What a pass tells its journal: the renames it is about to attempt, before the
// first of them, and afterwards how every row of the pass came out. A journal
// holds these in the kernel's hands (or on disk) so that no rename is ever
// without a record, whatever ends the process.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "engine/RenameStatus.h"
#include "platform/FileIdentity.h"

namespace vt {

// A row of a journal, as a pass writes it and as a reader gets it back. Texts
// are views: of the pass's names while it writes, of the journal's bytes when read.
struct TJournalEntry {
  std::uint64_t Row = 0;    // the row's place in the pass, from 0; a row's intent and outcome share it
  std::string_view Folder;  // ends with "/"
  std::string_view OldName;
  std::string_view NewName;  // after the attempt: the name the file is under when it differs
  TRenameStatus Status = TRenameStatus::rsNoChange;
  int Error = 0;           // errno of a refused rename
  bool Attempted = false;  // a rename was intended for this row (its outcome, not a row of its own)
  // Of an intent: the file as the look before the rename found it, when it did.
  std::optional<TFileIdentity> Identity{};
  // Only as read back: an intent whose outcome is missing is not settled, and
  // one the pass took back before attempting it is withdrawn.
  bool Settled = true;
  bool Withdrawn = false;
  std::string_view Temporary{};  // of an intent: the hidden name it was about to use, if any
};

class IPassJournal {
 public:
  virtual ~IPassJournal() = default;
  // Before any of these renames is attempted. False when the record could not be
  // written: none of them may then be attempted.
  virtual bool Intend(std::span<const TJournalEntry> entries) = 0;
  // Every row of the pass in its order, each once: outcomes of intended renames
  // and rows that renamed nothing. May wait for the next Intend to be written.
  virtual void Settled(std::span<const TJournalEntry> entries) = 0;
  // An intended rename that was not attempted after all (the pass stopped first).
  virtual void Withdrawn(std::span<const TJournalEntry> entries) = 0;
  // Before the intended rename of row (in folder) moves its file to a hidden
  // temporary name, or makes a placeholder there. False when the record could
  // not be written: the name may then not be used. A journal that keeps no
  // record of renames has nothing to write.
  virtual bool Temporary(std::uint64_t /*row*/, std::string_view /*folder*/, std::string_view /*name*/) { return true; }

  // A journal whose writes wait for the disk takes intents ahead: they go out
  // on a thread of its own while the caller renames the block before, and
  // AwaitIntents holds the caller until they are on record. Others record them
  // at once.
  virtual bool WritesAhead() const { return false; }
  // A ticket for AwaitIntents; nothing when the record cannot be written (none
  // of these renames may then be attempted).
  virtual std::optional<std::uint64_t> IntendAhead(std::span<const TJournalEntry> entries) {
    return Intend(entries) ? std::optional<std::uint64_t>(0) : std::nullopt;
  }
  // Without waiting: the intents of ticket are on record.
  virtual bool IntentsRecorded(std::uint64_t /*ticket*/) { return true; }
  // False when they could not be written: none of their renames may then be attempted.
  virtual bool AwaitIntents(std::uint64_t /*ticket*/) { return true; }
};

}  // namespace vt
