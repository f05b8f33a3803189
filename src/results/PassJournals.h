#pragma once
// The journals of real passes in the folder of records: made before the first
// rename, kept as the pass's record once it has ended, found again by recover
// --last when a pass never ended. An older version also kept a result file
// made from the journal, of the same name but for the extension (.vtj, .vtr);
// records are ordered by the UTC time inside their journals.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/Expected.h"
#include "passes/PassJournalWriter.h"
#include "results/JournalReader.h"
#include "results/Retention.h"
#include "results/UndoneMark.h"

namespace vt {

class TJournalRowStream;

inline constexpr std::string_view kJournalExtension = ".vtj";

std::uint64_t UtcNowNs();

// "2026-12-08 09:30:05 UTC"
std::string UtcText(std::uint64_t utcNs);

// The journal's name for a result file's ("x.vtr" -> "x.vtj").
std::string JournalPathFor(const std::string& resultPath);
std::string ResultPathFor(const std::string& journalPath);

// Creates the journal of a pass in folder (which exists): named after
// resultPath when given, else the next free automatic name. Nothing, or why
// not (Create).
TExpected<void> CreatePassJournal(const std::string& folder, const std::optional<std::string>& resultPath,
                                  const TJournalHeader& header, TDurability durability, TPassJournalWriter& writer);

struct TRecordFile {
  std::string Journal;  // empty for a result file of an older version, made without one
  std::string Result;   // the result file an older version made from it; may not exist
  std::uint64_t StartedUtcNs = 0;
};

// The records of the folder, oldest first: result files without a journal by
// name, then journals by the time inside them.
std::vector<TRecordFile> ListRecords(const std::string& folder);

// The newest record whose renames stand: a journal whose writer is gone and
// that no recover has undone, or an older result file with rows. For a
// journal, its rows are in journal, settled from the disk where they were cut.
// What LastRecord passed over that a person may want to know of: a pass a
// recover left rows of, or a recover that never ended.
struct TPassedOver {
  std::string Journal;
  TJournalKind Kind = TJournalKind::Rename;
  TPassState State = TPassState::CanBeUndone;
  std::uint64_t StartedUtcNs = 0;
  std::uint64_t UndoneUtcNs = 0;
  std::uint64_t RowsLeft = 0;
  struct TRow {
    std::string Path;  // folder and name
    TRenameStatus Status = TRenameStatus::rsError;
    int Error = 0;
  };
  std::vector<TRow> Left;  // the first of them
};
inline constexpr std::size_t kLeftRowsKept = 10;

// Passes over what a recover has undone, or undone as far as it could; removes
// a journal that holds no row.
std::optional<TRecordFile> LastRecord(const std::string& folder, TJournal& journal,
                                      std::vector<TPassedOver>* passedOver = nullptr);
// The same, reading each journal a block at a time and holding none of its
// rows: journal gets the header and marks of the one picked, and rows that
// journal, settled, to read its rows from.
std::optional<TRecordFile> LastRecord(const std::string& folder, TJournal& journal,
                                      std::vector<TPassedOver>* passedOver, std::unique_ptr<TJournalRowStream>& rows);

// The newest rename pass that never ended: a journal whose writer is gone
// without an end mark, that no recover has undone and whose rows, settled from
// the disk, renamed files. Its rows are in journal.
std::optional<TRecordFile> UnfinishedPass(const std::string& folder, TJournal& journal);

// Keeps the newest `kept` records; never one whose writer is alive.
void PruneRecords(const std::string& folder, std::size_t kept);
// Keeps the newest records within both limits, and always the newest one;
// never one whose writer is alive, nor a rename pass that never ended and that
// no recover has undone.
void PruneRecords(const std::string& folder, const TRetention& keep);

}  // namespace vt
