#pragma once
// The journal a real pass writes ahead of its renames: intents of the next block
// of renames go out in one write together with the outcomes of the block before,
// so a process that dies at any moment leaves every rename it made on record.
// Used from the pass's worker only; the front end reads the counts once the
// pass has ended. Where every write waits for the disk, the writes are made on
// a thread of the journal's own, and intents can be handed over ahead.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/Expected.h"
#include "passes/JournalFormat.h"
#include "passes/PassJournal.h"
#include "platform/AppendFile.h"
#include "platform/WriteAheadFile.h"

namespace vt {

struct TJournalHeader {
  TJournalKind Kind = TJournalKind::Rename;
  std::uint64_t StartedUtcNs = 0;
  std::string Folder;  // the start folder, or the record a recover undoes
  std::string What;    // the masks and operation, for a person reading the list
};

class TPassJournalWriter final : public IPassJournal {
 public:
  // Rows settled but not yet written are written at the latest once they take this much.
  static constexpr std::size_t kPendingLimit = std::size_t{256} * 1024;

  // Creates the journal and writes its header; fails as Create (EEXIST when
  // the name is taken).
  TExpected<void> Create(const std::string& path, TDurability durability, const TJournalHeader& header);

  bool Intend(std::span<const TJournalEntry> entries) override;
  void Settled(std::span<const TJournalEntry> entries) override;
  void Withdrawn(std::span<const TJournalEntry> entries) override;
  bool Temporary(std::uint64_t row, std::string_view folder, std::string_view name) override;
  bool WritesAhead() const override { return Ahead_ != nullptr; }
  std::optional<std::uint64_t> IntendAhead(std::span<const TJournalEntry> entries) override;
  bool IntentsRecorded(std::uint64_t ticket) override;
  bool AwaitIntents(std::uint64_t ticket) override;

  // Writes what is pending and the end mark, then lets the lock go. Fails as
  // Write, with the errno of the first write that failed during the pass.
  TExpected<void> Finish(TJournalEnd end);

  const std::string& Path() const { return File_.Path(); }
  std::uint64_t RenamedCount() const { return Renamed_; }
  std::uint64_t RowCount() const { return Rows_; }
  // Every intent written has its outcome (or was withdrawn): the counts are the
  // whole truth, with nothing to settle from the disk.
  bool EveryIntentSettled() const { return Outcomes_ == Intended_; }
  // Rows that found their file gone or were refused: a recover with any of them did not undo everything.
  std::uint64_t RefusedCount() const { return Refused_; }
  // Those rows, as the fields of a Left block: per row folder, name, status, errno.
  const std::string& LeftRows() const { return Left_; }
  int Error() const { return Error_; }

 private:
  int Write(std::string& bytes);
  // Hands bytes to the writing thread, when there is one; the ticket for them.
  std::optional<std::uint64_t> Queue(std::string& bytes);
  void PutIntents(std::span<const TJournalEntry> entries);
  void PutIdentities(std::span<const TJournalEntry> entries);

  TAppendFile File_;
  std::string Pending_;  // whole blocks waiting for the next write
  std::string Scratch_;
  std::string Left_;
  std::uint64_t Renamed_ = 0;
  std::uint64_t Rows_ = 0;
  std::uint64_t Refused_ = 0;
  std::uint64_t Intended_ = 0;
  std::uint64_t Outcomes_ = 0;
  int Error_ = 0;
  std::uint64_t LastTicket_ = 0;
  std::unique_ptr<TWriteAheadFile> Ahead_;  // after File_: gone before it closes
};

}  // namespace vt
