#include "results/PassRecord.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/AppendFile.h"
#include "platform/SysErrorText.h"
#include "results/AutomaticResultFiles.h"
#include "results/EmptyResultFile.h"
#include "results/JournalReader.h"
#include "results/JournalRowStream.h"
#include "results/PassJournals.h"
#include "results/UndoneMark.h"

namespace vt {

namespace {

void RemoveFile(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('/') + 1); }

}  // namespace

TJournalStart StartPassJournal(const std::string& folder, TJournalHeader header,
                               const std::optional<std::string>& named, TDurability durability,
                               TPassJournalWriter& writer) {
  TJournalStart start;
  if (const int error = MakePrivateFolder(folder, start.Warning)) {
    start.Created = Unexpected("cannot create " + folder + ": " + SystemMessage(error));
    return start;
  }
  if ((start.Refused = RefusedRecordsFolder(folder))) {
    start.Created = Unexpected(start.Refused->Path + " can be changed by another user");
    return start;
  }
  header.StartedUtcNs = UtcNowNs();
  if (const TExpected<void, int> made = CreatePassJournal(folder, named, header, durability, writer); !made)
    start.Created =
        Unexpected("cannot create the journal of the pass in " + folder + ": " + SystemMessage(made.Error()));
  return start;
}

TJournalEnd JournalEndOf(bool stopped, int writeError) {
  if (writeError != 0) return TJournalEnd::Failed;
  return stopped ? TJournalEnd::Stopped : TJournalEnd::Completed;
}

TPassRecord KeepPassRecord(TPassJournalWriter& journal, bool stopped, std::size_t kept) {
  return KeepPassRecord(journal, stopped, TRetention{kept, UINT64_MAX});
}

TPassRecord KeepPassRecord(TPassJournalWriter& journal, bool stopped, const TRetention& keep) {
  TPassRecord record;
  record.Journal = journal.Path();
  record.JournalError = journal.Error();
  journal.Finish(JournalEndOf(stopped, record.JournalError));
  record.Renamed = journal.RenamedCount();
  // Read back a block at a time, twice (to size the result file's row block,
  // then to write it): memory stays flat however many rows the pass had.
  TJournalRowStream rows(record.Journal);
  if (const TExpected<void, int> opened = rows.Open(); !opened) {
    record.ReadError = opened.Error();
    return record;
  }
  record.Renamed = rows.RenamedCount();
  // No row: nothing was renamed, also when a write failed.
  if (rows.RowCount() == 0) {
    RemoveFile(record.Journal);
    return record;
  }
  const std::string path = ResultPathFor(record.Journal);
  // Its rows name the user's files: made for the user's eyes only, and the save
  // that fills it keeps these bits.
  if (CreateEmptyResultFile(path)) {
    std::error_code ignored;
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                                 ignored);
  }
  record.Saved = SaveResultRows(rows, path);
  if (!record.Saved) return record;
  record.Record = path;
  PruneRecords(FolderOf(path), keep);
  return record;
}

TPassRecord EndRecoverJournal(TPassJournalWriter& journal, const std::string& undoneJournal, TPassStopped stop) {
  TPassRecord record;
  record.Journal = journal.Path();
  record.JournalError = journal.Error();
  journal.Finish(JournalEndOf(false, record.JournalError));
  record.Renamed = journal.RenamedCount();
  if (record.JournalError != 0) {
    RemoveEmptyJournal(record.Journal);
    return record;
  }
  RemoveFile(record.Journal);
  if (stop == TPassStopped::No && !undoneJournal.empty())
    record.MarkError = MarkUndone(undoneJournal, journal.RefusedCount(), journal.LeftRows());
  return record;
}

}  // namespace vt
