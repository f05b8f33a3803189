#include "results/RecordToRecover.h"

#include <utility>

#include "platform/AppendFile.h"
#include "results/ForeignRecords.h"

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

TExpected<TJournal, int> LoadSettledJournal(const std::string& path) {
  TExpected<TJournal, int> loaded = LoadJournal(path);
  if (loaded) SettleFromDisk(*loaded);
  return loaded;
}

TRecordToRecover FindRecordToRecover(const TGetEnv& getEnv, TRecordWanted wanted) {
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
    record = LastRecord(found.Folder, found.Journal, &found.PassedOver);
  } else {
    record = UnfinishedPass(found.Folder, found.Journal);
  }
  if (!record) {
    found.Miss = TRecordMiss::NoRecord;
    return found;
  }
  found.IsJournal = !record->Journal.empty();
  found.File = found.IsJournal ? record->Journal : record->Result;
  return found;
}

}  // namespace vt
