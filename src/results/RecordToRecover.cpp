#include "results/RecordToRecover.h"

#include <cerrno>
#include <utility>

#include "platform/AppendFile.h"
#include "results/ForeignRecords.h"
#include "results/JournalRowStream.h"

namespace vt {

bool FileIsJournal(const std::string& path) {
  std::string start;
  return ReadFileStart(path, kJournalSignature.size(), start) == 0 && IsJournal(start);
}

std::string JournalOfRecord(const std::string& path) {
  if (FileIsJournal(path)) return path;
  const std::string journal = JournalPathFor(path);
  return journal != path && FileIsJournal(journal) ? journal : std::string();
}

TExpected<TJournal> LoadSettledJournal(const std::string& path) {
  TExpected<TJournal> loaded = LoadJournal(path);
  if (loaded) SettleFromDisk(*loaded);
  return loaded;
}

TExpected<TUndoList> LoadJournalToUndo(const std::string& path) {
  TJournalRowStream stream(path);
  if (const TExpected<void> opened = stream.Open(); !opened) return Unexpected(opened.Error());
  return UndoRowsOf(stream);
}

TExpected<TUndoList> UndoRowsOf(TJournalRowStream& opened) {
  TUndoList rows;
  // A journal's texts are never cut.
  const bool read = opened.ForEachIdentified([&](const TResultRow& row, const std::optional<TFileIdentity>& file) {
    rows.Add(TUndoList::TRow{row.Path(), row.NewName, row.OldName, row.Status, TPathTexts::Whole, file});
  });
  if (!read) return Unexpected(TError{EIO, TErrorKind::Read, opened.Path()});
  return rows;
}

TRecordToRecover FindRecordToRecover(const TGetEnv& getEnv, TRecordWanted wanted, TJournalHeld held) {
  TRecordToRecover found;
  const std::optional<std::string> folder = AutomaticFolder(getEnv);
  if (!folder) {
    found.Miss = TRecordMiss::NoFolder;
    return found;
  }
  found.Folder = *folder;
  // Records another user could have planted are never read.
  if ((found.Refused = RefusedRecordsFolder(found.Folder))) {
    found.Miss = TRecordMiss::FolderRefused;
    return found;
  }
  std::optional<TRecordFile> record;
  if (wanted == TRecordWanted::Last) {
    found.Foreign = ForeignRecords(found.Folder);
    record = held == TJournalHeld::Streamed ? LastRecord(found.Folder, found.Journal, &found.PassedOver, found.Rows)
                                            : LastRecord(found.Folder, found.Journal, &found.PassedOver);
  } else {
    record = UnfinishedPass(found.Folder, found.Journal);
  }
  if (!record) {
    found.Miss = TRecordMiss::NoRecord;
    return found;
  }
  found.IsJournal = !record->Journal.empty();
  found.File = found.IsJournal ? record->Journal : record->Result;
  if (found.IsJournal) found.Renamed = found.Rows ? found.Rows->RenamedCount() : RenamedRows(found.Journal);
  return found;
}

}  // namespace vt
