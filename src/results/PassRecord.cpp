#include "results/PassRecord.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/AppendFile.h"
#include "results/JournalReader.h"
#include "results/JournalRowStream.h"
#include "results/PassJournals.h"
#include "results/UndoFromFile.h"
#include "results/UndoneMark.h"

namespace vt {

namespace {

void RemoveFile(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('/') + 1); }

std::optional<TError> FailureOf(const TExpected<void>& done) {
  if (done) return std::nullopt;
  return done.Error();
}

void RemoveJournal(TPassRecord& record) {
  RemoveFile(record.Journal);
  record.JournalRemoved = true;
}

// The ended journal is the pass's record: the counts are the writer's, so
// nothing is read back. It holds every row, also those whose folder is too
// long for a result file.
TPassRecord KeepJournal(const TPassJournalWriter& journal, TPassRecord record, const TRetention& keep) {
  record.Rows = journal.RowCount();
  if (!journal.EveryIntentSettled()) {
    // Intents without their outcome (a pass cut inside a block): the disk tells what became of them.
    TJournalRowStream rows(record.Journal);
    if (const TExpected<void> opened = rows.Open(); !opened) {
      record.ReadError = opened.Error();
      return record;
    }
    record.Rows = rows.RowCount();
    record.Renamed = rows.RenamedCount();
  }
  // No row: nothing was renamed. A write that failed may have left rows on the disk all the same.
  if (record.Rows == 0) {
    if (!record.JournalError)
      RemoveJournal(record);
    else
      record.JournalRemoved = RemoveEmptyJournal(record.Journal);
    return record;
  }
  record.Record = record.Journal;
  PruneRecords(FolderOf(record.Journal), keep);
  return record;
}

}  // namespace

TJournalStart StartPassJournal(const std::string& folder, TJournalHeader header,
                               const std::optional<std::string>& named, TDurability durability,
                               TPassJournalWriter& writer) {
  TJournalStart start;
  start.Folder = folder;
  if (const int error = MakePrivateFolder(folder, start.Access)) {
    start.Failure = TJournalFailure::FolderNotMade;
    start.Error = TError{error, TErrorKind::MakeFolder, folder};
    return start;
  }
  if ((start.Refused = RefusedRecordsFolder(folder))) {
    start.Failure = TJournalFailure::FolderRefused;
    return start;
  }
  header.StartedUtcNs = UtcNowNs();
  if (const TExpected<void> made = CreatePassJournal(folder, named, header, durability, writer); !made) {
    start.Failure = TJournalFailure::JournalNotMade;
    start.Error = made.Error();
  }
  return start;
}

TJournalEnd JournalEndOf(bool stopped, int writeError) {
  if (writeError != 0) return TJournalEnd::Failed;
  return stopped ? TJournalEnd::Stopped : TJournalEnd::Completed;
}

TPassRecord FinishRenameRecord(TPassJournalWriter& journal, TPassStopped stopped, const TRecordTarget& target) {
  TPassRecord record;
  record.Journal = journal.Path();
  // The last write, with the end mark, can fail too: then the journal holds no end.
  record.JournalError = FailureOf(journal.Finish(JournalEndOf(stopped == TPassStopped::Yes, journal.Error())));
  record.Renamed = journal.RenamedCount();
  if (target.Place == TRecordPlace::None) {
    // A journal that could not be written holds the renames: it stays.
    if (!record.JournalError) RemoveJournal(record);
    return record;
  }
  if (target.Place == TRecordPlace::Automatic) return KeepJournal(journal, std::move(record), target.Keep);
  // Read back a block at a time, twice (to size the result file's row block,
  // then to write it): memory stays flat however many rows the pass had.
  TJournalRowStream rows(record.Journal);
  const TExpected<void> opened =
      rows.Open([&record](const TResultRow& row) { record.NotUndoable += CannotUndoFromFile(row) ? 1U : 0U; });
  if (!opened) {
    record.ReadError = opened.Error();
    return record;
  }
  record.Renamed = rows.RenamedCount();
  record.Rows = rows.RowCount();
  // No row: nothing was renamed, also when a write failed.
  if (record.Rows == 0) {
    if (target.Created) RemoveFile(target.Path);
    RemoveJournal(record);
    return record;
  }
  record.Saved = SaveResultRows(rows, target.Path, TLinkAtTarget::Follow);
  if (record.Saved) record.Record = target.Path;
  return record;
}

TPassRecord KeepPassRecord(TPassJournalWriter& journal, bool stopped, std::size_t kept) {
  return KeepPassRecord(journal, stopped, TRetention{kept, UINT64_MAX});
}

TPassRecord KeepPassRecord(TPassJournalWriter& journal, bool stopped, const TRetention& keep) {
  return FinishRenameRecord(journal, stopped ? TPassStopped::Yes : TPassStopped::No,
                            TRecordTarget{TRecordPlace::Automatic, {}, false, keep});
}

TPassRecord EndRecoverJournal(TPassJournalWriter& journal, const std::string& undoneJournal, TRecoverEnd end) {
  TPassRecord record;
  record.Journal = journal.Path();
  record.JournalError = FailureOf(journal.Finish(JournalEndOf(false, journal.Error())));
  record.Renamed = journal.RenamedCount();
  if (record.JournalError) {
    record.JournalRemoved = RemoveEmptyJournal(record.Journal);
    return record;
  }
  if (end == TRecoverEnd::SourceChanged) return record;
  RemoveJournal(record);
  if (end == TRecoverEnd::Completed && !undoneJournal.empty()) {
    record.Undone = undoneJournal;
    if (const TExpected<void> marked = MarkUndone(undoneJournal, journal.RefusedCount(), journal.LeftRows()); !marked)
      record.MarkError = marked.Error();
  }
  return record;
}

TPassRecord EndRecoverJournal(TPassJournalWriter& journal, const std::string& undoneJournal, TPassStopped stop) {
  return EndRecoverJournal(journal, undoneJournal,
                           stop == TPassStopped::Yes ? TRecoverEnd::Stopped : TRecoverEnd::Completed);
}

}  // namespace vt
