#include "results/JournalReader.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <utility>

#include "platform/AppendFile.h"
#include "platform/FolderRenamer.h"
#include "results/JournalBlocks.h"

namespace vt {
namespace {

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
    return *Rows_.insert(it, row);
  }
  TJournalRow* Find(std::uint64_t index) {
    const auto it = std::lower_bound(Rows_.begin(), Rows_.end(), index,
                                     [](const TJournalRow& row, std::uint64_t wanted) { return row.Index < wanted; });
    return it != Rows_.end() && it->Index == index ? &*it : nullptr;
  }
  // Undone at the end, when the row has no outcome by then.
  void Withdraw(std::uint64_t index) { Withdrawn.push_back(index); }

  std::vector<std::uint64_t> Withdrawn;

 private:
  std::vector<TJournalRow>& Rows_;
};

}  // namespace

bool IsJournal(std::string_view bytes) { return bytes.substr(0, kJournalSignature.size()) == kJournalSignature; }

bool ReadJournal(std::string owned, TJournal& journal) {
  journal = TJournal{};
  journal.Bytes = std::move(owned);
  const std::string_view bytes = journal.Bytes;
  if (!IsJournal(bytes)) return false;
  std::size_t offset = kJournalSignature.size();
  const std::optional<std::string_view> first = NextJournalBlock(bytes, offset);
  if (!first || static_cast<TJournalBlock>((*first)[0]) != TJournalBlock::Header ||
      !journal_blocks::ReadHeader(*first, journal.Header))
    return false;
  // A row takes some 15 bytes of a journal at the least.
  journal.Rows.reserve(bytes.size() / 16);
  TRowCollector rows(journal.Rows);
  while (const std::optional<std::string_view> payload = NextJournalBlock(bytes, offset)) {
    // A block that checks out but cannot be read is damage all the same: the rows end there.
    if (!journal_blocks::ReadBlock(*payload, rows, journal.End, journal.Recovered)) {
      journal.TornTail = true;
      break;
    }
  }
  if (offset < bytes.size()) journal.TornTail = true;
  for (const std::uint64_t index : rows.Withdrawn) {
    const TJournalRow* row = rows.Find(index);
    if (row != nullptr && !row->Settled) journal.Rows.erase(journal.Rows.begin() + (row - journal.Rows.data()));
  }
  return true;
}

TExpected<TJournal, int> LoadJournal(const std::string& path) {
  std::string bytes;
  if (const int error = ReadWholeFile(path, bytes)) return Unexpected(error);
  TJournal journal;
  if (!ReadJournal(std::move(bytes), journal)) return Unexpected(EINVAL);
  return journal;
}

void SettleFromDisk(TJournal& journal) {
  if (std::all_of(journal.Rows.begin(), journal.Rows.end(), [](const TJournalRow& row) { return row.Settled; })) return;
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
    kept.push_back(row);
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
  std::vector<TResultRow> rows;
  rows.reserve(journal.Rows.size());
  std::shared_ptr<const std::string> folder;
  for (const TJournalRow& read : journal.Rows) {
    if (!folder || *folder != read.Folder) folder = std::make_shared<const std::string>(read.Folder);
    TResultRow& row = rows.emplace_back();
    row.Folder = folder;
    row.OldName = read.OldName;
    row.NewName = read.NewName;
    row.Status = read.Status;
    row.SystemError = read.Error;
  }
  table.AppendRows(std::move(rows));
}

std::string RecoveredMark(std::uint64_t utcNs) {
  std::string bytes;
  const std::size_t begun = BeginBlock(bytes, TJournalBlock::Recovered);
  AppendNumber(bytes, utcNs);
  EndBlock(bytes, begun);
  return bytes;
}

}  // namespace vt
