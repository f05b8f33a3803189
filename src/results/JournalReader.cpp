#include "results/JournalReader.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#include "platform/AppendFile.h"
#include "platform/FolderRenamer.h"

namespace vt {
namespace {

bool ReadFolder(TJournalCursor& cursor, std::string_view& folder) {
  std::uint64_t tag = 0;
  if (!cursor.Number(tag)) return false;
  if (tag == 0) return folder.data() != nullptr;  // the previous row's folder
  // The tag is the length plus one.
  return cursor.Bytes(static_cast<std::size_t>(tag - 1), folder);
}

bool ReadStatus(TJournalCursor& cursor, std::uint8_t& status) {
  return cursor.Byte(status) &&
         (status <= static_cast<std::uint8_t>(TRenameStatus::rsCanBeRenamed) || status == kWithdrawnStatus);
}

bool ReadHeader(std::string_view payload, TJournalHeader& header) {
  TJournalCursor cursor(payload.substr(1));
  std::uint64_t version = 0;
  std::uint64_t kind = 0;
  std::string_view folder;
  std::string_view what;
  if (!cursor.Number(version) || version != kJournalVersion || !cursor.Number(kind) ||
      !cursor.Number(header.StartedUtcNs) || !cursor.Text(folder) || !cursor.Text(what))
    return false;
  if (kind != static_cast<std::uint64_t>(TJournalKind::Rename) && kind != static_cast<std::uint64_t>(TJournalKind::Recover))
    return false;
  header.Kind = static_cast<TJournalKind>(kind);
  header.Folder = folder;
  header.What = what;
  return true;
}

// Rows arrive nearly in order; an index seen again replaces what it had.
class TRowCollector {
 public:
  explicit TRowCollector(std::vector<TJournalRow>& rows) : Rows_(rows) {}
  TJournalRow& At(std::uint64_t index) {
    if (Rows_.empty() || Rows_.back().Index < index) {
      Rows_.emplace_back();
      Rows_.back().Index = index;
      return Rows_.back();
    }
    const auto it = std::lower_bound(Rows_.begin(), Rows_.end(), index,
                                     [](const TJournalRow& row, std::uint64_t wanted) { return row.Index < wanted; });
    if (it != Rows_.end() && it->Index == index) return *it;
    TJournalRow row;
    row.Index = index;
    return *Rows_.insert(it, std::move(row));
  }
  TJournalRow* Find(std::uint64_t index) {
    const auto it = std::lower_bound(Rows_.begin(), Rows_.end(), index,
                                     [](const TJournalRow& row, std::uint64_t wanted) { return row.Index < wanted; });
    return it != Rows_.end() && it->Index == index ? &*it : nullptr;
  }

 private:
  std::vector<TJournalRow>& Rows_;
};

// What intents and plain rows both start with: the row, its folder (kept from
// the row before when the same) and the two names.
struct TRowNames {
  std::uint64_t Index = 0;
  std::string_view OldName;
  std::string_view NewName;
};

bool ReadRowNames(TJournalCursor& cursor, std::string_view& folder, TRowNames& names) {
  return cursor.Number(names.Index) && ReadFolder(cursor, folder) && cursor.Text(names.OldName) &&
         cursor.Text(names.NewName);
}

void SetRowNames(TJournalRow& row, std::string_view folder, const TRowNames& names) {
  row.Folder = folder;
  row.OldName = names.OldName;
  row.NewName = names.NewName;
}

bool ReadIntents(TJournalCursor& cursor, TRowCollector& rows) {
  std::uint64_t count = 0;
  if (!cursor.Number(count)) return false;
  std::string_view folder;
  for (std::uint64_t i = 0; i < count; ++i) {
    TRowNames names;
    if (!ReadRowNames(cursor, folder, names)) return false;
    TJournalRow& row = rows.At(names.Index);
    SetRowNames(row, folder, names);
    row.Attempted = true;
    row.Settled = false;
  }
  return true;
}

bool ReadOutcomes(TJournalCursor& cursor, TRowCollector& rows, std::vector<std::uint64_t>& withdrawn) {
  std::uint64_t count = 0;
  if (!cursor.Number(count)) return false;
  for (std::uint64_t i = 0; i < count; ++i) {
    std::uint64_t index = 0;
    std::uint8_t status = 0;
    std::uint64_t error = 0;
    std::uint64_t nameTag = 0;
    std::string_view name;
    if (!cursor.Number(index) || !ReadStatus(cursor, status) || !cursor.Number(error) || !cursor.Number(nameTag) ||
        (nameTag > 0 && !cursor.Bytes(static_cast<std::size_t>(nameTag - 1), name)))
      return false;
    TJournalRow* row = rows.Find(index);
    if (row == nullptr) continue;  // an outcome without its intent: nothing to say of it
    if (status == kWithdrawnStatus) {
      withdrawn.push_back(index);
      continue;
    }
    row->Status = static_cast<TRenameStatus>(status);
    row->Error = static_cast<int>(error);
    row->Settled = true;
    if (nameTag > 0) row->NewName = name;
  }
  return true;
}

bool ReadPlainRows(TJournalCursor& cursor, TRowCollector& rows) {
  std::uint64_t count = 0;
  if (!cursor.Number(count)) return false;
  std::string_view folder;
  for (std::uint64_t i = 0; i < count; ++i) {
    TRowNames names;
    std::uint8_t status = 0;
    std::uint64_t error = 0;
    if (!ReadRowNames(cursor, folder, names) || !ReadStatus(cursor, status) || status == kWithdrawnStatus ||
        !cursor.Number(error))
      return false;
    TJournalRow& row = rows.At(names.Index);
    SetRowNames(row, folder, names);
    row.Status = static_cast<TRenameStatus>(status);
    row.Error = static_cast<int>(error);
    row.Attempted = false;
    row.Settled = true;
  }
  return true;
}

bool ReadBlock(std::string_view payload, TJournal& journal, TRowCollector& rows,
               std::vector<std::uint64_t>& withdrawn) {
  TJournalCursor cursor(payload.substr(1));
  switch (static_cast<TJournalBlock>(payload[0])) {
    case TJournalBlock::Intents: return ReadIntents(cursor, rows);
    case TJournalBlock::Outcomes: return ReadOutcomes(cursor, rows, withdrawn);
    case TJournalBlock::Rows: return ReadPlainRows(cursor, rows);
    case TJournalBlock::End: {
      std::uint64_t count = 0;
      std::uint8_t end = 0;
      if (!cursor.Number(count) || !cursor.Byte(end)) return false;
      journal.End = static_cast<TJournalEnd>(end);
      return true;
    }
    case TJournalBlock::Recovered:
      journal.Recovered = true;
      return true;
    case TJournalBlock::Header: return false;
  }
  return true;  // a block of a kind this version does not know says nothing of the rows
}

}  // namespace

bool IsJournal(std::string_view bytes) { return bytes.substr(0, kJournalSignature.size()) == kJournalSignature; }

bool ReadJournal(std::string owned, TJournal& journal) {
  journal = TJournal{};
  journal.Bytes = std::move(owned);
  const std::string_view bytes = journal.Bytes;
  if (!IsJournal(bytes)) return false;
  std::size_t offset = kJournalSignature.size();
  const std::optional<std::string_view> first = NextJournalBlock(bytes, offset);
  if (!first || static_cast<TJournalBlock>((*first)[0]) != TJournalBlock::Header || !ReadHeader(*first, journal.Header))
    return false;
  // A row takes some 15 bytes of a journal at the least.
  journal.Rows.reserve(bytes.size() / 16);
  TRowCollector rows(journal.Rows);
  std::vector<std::uint64_t> withdrawn;
  while (const std::optional<std::string_view> payload = NextJournalBlock(bytes, offset)) {
    // A block that checks out but cannot be read is damage all the same: the rows end there.
    if (!ReadBlock(*payload, journal, rows, withdrawn)) {
      journal.TornTail = true;
      break;
    }
  }
  if (offset < bytes.size()) journal.TornTail = true;
  for (const std::uint64_t index : withdrawn) {
    const TJournalRow* row = rows.Find(index);
    if (row != nullptr && !row->Settled)
      journal.Rows.erase(journal.Rows.begin() + (row - journal.Rows.data()));
  }
  return true;
}

bool LoadJournal(const std::string& path, TJournal& journal, int& error) {
  std::string bytes;
  error = ReadWholeFile(path, bytes);
  if (error != 0) return false;
  if (!ReadJournal(std::move(bytes), journal)) {
    error = EINVAL;
    return false;
  }
  return true;
}

void SettleFromDisk(TJournal& journal) {
  if (std::all_of(journal.Rows.begin(), journal.Rows.end(), [](const TJournalRow& row) { return row.Settled; }))
    return;
  std::vector<TJournalRow> kept;
  kept.reserve(journal.Rows.size());
  for (TJournalRow& row : journal.Rows) {
    if (!row.Settled) {
      const std::string folder(row.Folder);
      const bool underNew = FileExists(folder + std::string(row.NewName));
      const bool underOld = FileExists(folder + std::string(row.OldName));
      if (!underNew) continue;  // the rename never happened
      row.Status = underOld ? TRenameStatus::rsError : TRenameStatus::rsOk;
      row.Settled = true;
    }
    kept.push_back(std::move(row));
  }
  journal.Rows = std::move(kept);
}

std::size_t RenamedRows(const TJournal& journal) {
  return static_cast<std::size_t>(std::count_if(journal.Rows.begin(), journal.Rows.end(), [](const TJournalRow& row) {
    return row.Settled && row.Status == TRenameStatus::rsOk;
  }));
}

void JournalToTable(const TJournal& journal, TResultTable& table) {
  table.Clear();
  for (const TJournalRow& row : journal.Rows)
    table.AppendRow(row.OldName, row.NewName, row.Folder, StatusText(row.Status));
}

TRowViews JournalRowViews(const TJournal& journal) {
  return TRowViews{journal.Rows.size(), [&journal](std::size_t i) {
                     const TJournalRow& row = journal.Rows[i];
                     return TRowView{row.OldName, row.NewName, row.Folder, StatusText(row.Status)};
                   }};
}

std::string RecoveredMark(std::uint64_t utcNs) {
  std::string bytes;
  const std::size_t begun = BeginBlock(bytes, TJournalBlock::Recovered);
  AppendNumber(bytes, utcNs);
  EndBlock(bytes, begun);
  return bytes;
}

}  // namespace vt
