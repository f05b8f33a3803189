#include "results/PassRecord.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/AppendFile.h"
#include "results/AutomaticResultFiles.h"
#include "results/EmptyResultFile.h"
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

void RemoveJournal(TPassRecord& record) {
  RemoveFile(record.Journal);
  record.JournalRemoved = true;
}

}  // namespace

TJournalStart StartPassJournal(const std::string& folder, TJournalHeader header,
                               const std::optional<std::string>& named, TDurability durability,
                               TPassJournalWriter& writer) {
  TJournalStart start;
  start.Folder = folder;
  if (const int error = MakePrivateFolder(folder, start.Warning)) {
    start.Failure = TJournalFailure::FolderNotMade;
    start.Error = error;
    return start;
  }
  if ((start.Refused = RefusedRecordsFolder(folder))) {
    start.Failure = TJournalFailure::FolderRefused;
    return start;
  }
  header.StartedUtcNs = UtcNowNs();
  if (const TExpected<void, int> made = CreatePassJournal(folder, named, header, durability, writer); !made) {
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
  record.JournalError = journal.Error();
  journal.Finish(JournalEndOf(stopped == TPassStopped::Yes, record.JournalError));
  record.Renamed = journal.RenamedCount();
  if (target.Place == TRecordPlace::None) {
    // A journal that could not be written holds the renames: it stays.
    if (record.JournalError == 0) RemoveJournal(record);
    return record;
  }
  // Read back a block at a time, twice (to size the result file's row block,
  // then to write it): memory stays flat however many rows the pass had.
  TJournalRowStream rows(record.Journal);
  const TExpected<void, int> opened =
      rows.Open([&record](const TResultRow& row) { record.NotUndoable += CannotUndoFromFile(row) ? 1U : 0U; });
  if (!opened) {
    record.ReadError = opened.Error();
    return record;
  }
  record.Renamed = rows.RenamedCount();
  record.Rows = rows.RowCount();
  const std::string path = target.Place == TRecordPlace::Named ? target.Path : ResultPathFor(record.Journal);
  // No row: nothing was renamed, also when a write failed.
  if (record.Rows == 0) {
    if (target.Created) RemoveFile(path);
    RemoveJournal(record);
    return record;
  }
  TLinkAtTarget links = TLinkAtTarget::Follow;
  if (target.Place == TRecordPlace::Automatic) {
    links = TLinkAtTarget::Refuse;
    // Its rows name the user's files: made for the user's eyes only, and the
    // save that fills it keeps these bits.
    if (CreateEmptyResultFile(path)) {
      std::error_code ignored;
      std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                                   ignored);
    }
  }
  record.Saved = SaveResultRows(rows, path, links);
  if (!record.Saved) return record;
  record.Record = path;
  if (target.Place == TRecordPlace::Automatic) PruneRecords(FolderOf(path), target.Keep);
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
  record.JournalError = journal.Error();
  journal.Finish(JournalEndOf(false, record.JournalError));
  record.Renamed = journal.RenamedCount();
  if (record.JournalError != 0) {
    record.JournalRemoved = RemoveEmptyJournal(record.Journal);
    return record;
  }
  if (end == TRecoverEnd::SourceChanged) return record;
  RemoveJournal(record);
  if (end == TRecoverEnd::Completed && !undoneJournal.empty()) {
    record.Undone = undoneJournal;
    record.MarkError = MarkUndone(undoneJournal, journal.RefusedCount(), journal.LeftRows());
  }
  return record;
}

TPassRecord EndRecoverJournal(TPassJournalWriter& journal, const std::string& undoneJournal, TPassStopped stop) {
  return EndRecoverJournal(journal, undoneJournal,
                           stop == TPassStopped::Yes ? TRecoverEnd::Stopped : TRecoverEnd::Completed);
}

}  // namespace vt
