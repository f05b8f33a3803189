#include "results/JournalReader.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <system_error>
#include <unordered_map>
#include <utility>

#include "passes/UndoRowChecks.h"
#include "platform/AppendFile.h"
#include "platform/TrustedFolder.h"
#include "results/JournalBlocks.h"
#include "results/JournalSettle.h"

namespace vt {

namespace fs = std::filesystem;

namespace {

// Rows arrive nearly in order, the rows of a recover that went back last first
// in reverse: a row out of order turns the lookup from a search of the sorted
// rows to a hash, and the rows are sorted once at the end. An index seen again
// replaces what it had.
class TRowCollector {
 public:
  explicit TRowCollector(std::vector<TJournalEntry>& rows) : Rows_(rows) {}
  TJournalEntry& At(std::uint64_t index) {
    if (Where_.empty() && (Rows_.empty() || Rows_.back().Row < index)) return Add(index);
    if (TJournalEntry* row = Find(index)) return *row;
    if (Where_.empty()) Scatter();
    return Add(index);
  }
  TJournalEntry* Find(std::uint64_t index) {
    if (!Where_.empty()) {
      const auto it = Where_.find(index);
      return it == Where_.end() ? nullptr : &Rows_[it->second];
    }
    const auto it = std::lower_bound(Rows_.begin(), Rows_.end(), index,
                                     [](const TJournalEntry& row, std::uint64_t wanted) { return row.Row < wanted; });
    return it != Rows_.end() && it->Row == index ? &*it : nullptr;
  }
  // Undone at the end, when the row has no outcome by then.
  void Withdraw(std::uint64_t index) {
    if (TJournalEntry* row = Find(index)) row->Withdrawn = true;
  }
  // The rows by index, without the withdrawn renames that never got an outcome.
  void Finish() {
    std::erase_if(Rows_, [](const TJournalEntry& row) { return row.Withdrawn && !row.Settled; });
    if (!Where_.empty())
      std::sort(Rows_.begin(), Rows_.end(),
                [](const TJournalEntry& a, const TJournalEntry& b) { return a.Row < b.Row; });
    Where_.clear();
  }

 private:
  TJournalEntry& Add(std::uint64_t index) {
    if (!Where_.empty()) Where_.emplace(index, Rows_.size());
    TJournalEntry& row = Rows_.emplace_back();
    row.Row = index;
    row.Status = TRenameStatus::rsCanBeRenamed;  // until its outcome is read
    return row;
  }
  void Scatter() {
    Where_.reserve(Rows_.size() * 2 + 16);
    for (std::size_t i = 0; i < Rows_.size(); ++i) Where_.emplace(Rows_[i].Row, i);
  }

  std::vector<TJournalEntry>& Rows_;
  std::unordered_map<std::uint64_t, std::size_t> Where_;  // empty while the rows come in order
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
  journal_blocks::TJournalMarks marks;
  journal.IntactBytes = offset;
  while (const std::optional<std::string_view> payload = NextJournalBlock(bytes, offset)) {
    // A block that checks out but cannot be read is damage all the same: the rows end there.
    if (!journal_blocks::ReadBlock(*payload, rows, marks)) {
      journal.TornTail = true;
      break;
    }
    journal.IntactBytes = offset;
  }
  if (offset < bytes.size()) journal.TornTail = true;
  journal.End = marks.End;
  journal.Recovered = marks.Recovered;
  journal.Undone = marks.Undone;
  journal.LeftRows = marks.Left;
  rows.Finish();
  return true;
}

TError JournalReadError(int code, std::string path) {
  return TError{code, code == EINVAL ? TErrorKind::NotJournal : TErrorKind::Read, std::move(path)};
}

TExpected<TJournal> LoadOwnJournal(const std::string& folder, const std::string& name) {
  std::string bytes;
  if (const int error = ReadOwnFile(folder, name, EffectiveUid(), static_cast<std::size_t>(-1), bytes))
    return Unexpected(JournalReadError(error, folder + name));
  TJournal journal;
  if (!ReadJournal(std::move(bytes), journal)) return Unexpected(JournalReadError(EINVAL, folder + name));
  return journal;
}

TExpected<TJournal> LoadJournal(const std::string& path) {
  std::string bytes;
  if (const int error = ReadWholeFile(path, bytes)) return Unexpected(JournalReadError(error, path));
  TJournal journal;
  if (!ReadJournal(std::move(bytes), journal)) return Unexpected(JournalReadError(EINVAL, path));
  return journal;
}

// Backwards: a later row that took this row's old name (a renumbering) shows
// this row was renamed, whatever file is under its old name now.
void SettleFromDisk(TJournal& journal) {
  if (std::all_of(journal.Rows.begin(), journal.Rows.end(), [](const TJournalEntry& row) { return row.Settled; }))
    return;
  std::vector<TJournalEntry*> rows;
  rows.reserve(journal.Rows.size());
  for (TJournalEntry& row : journal.Rows) rows.push_back(&row);
  TDiskSettler disk(journal.Header.StartedUtcNs);
  std::vector<bool> dropped;
  SettleRowsFromDisk(rows, disk, dropped, [&](TJournalEntry& row, const std::string& name) {
    row.NewName = journal.OwnedTexts.emplace_back(name);
  });
  std::size_t kept = 0;
  for (std::size_t k = 0; k < journal.Rows.size(); ++k)
    if (!dropped[k]) journal.Rows[kept++] = journal.Rows[k];
  journal.Rows.resize(kept);
}

std::size_t RenamedRows(const TJournal& journal) {
  return static_cast<std::size_t>(std::count_if(journal.Rows.begin(), journal.Rows.end(), [](const TJournalEntry& row) {
    return row.Settled && row.Status == TRenameStatus::rsOk;
  }));
}

void JournalToTable(const TJournal& journal, TResultTable& table) {
  table.Clear();
  std::vector<TResultRow> rows;
  rows.reserve(journal.Rows.size());
  std::shared_ptr<const std::string> folder;
  for (const TJournalEntry& read : journal.Rows) {
    if (!folder || *folder != read.Folder) folder = std::make_shared<const std::string>(read.Folder);
    TResultRow& row = rows.emplace_back();
    row.Folder = folder;
    row.OldName = read.OldName;
    row.NewName = read.NewName;
    row.Status = read.Status;
    row.SystemError = read.Error;
    row.Marks = RowMark::WholeTexts;
  }
  table.AppendRows(std::move(rows));
  if (std::none_of(journal.Rows.begin(), journal.Rows.end(), [](const TJournalEntry& row) { return row.Identity; }))
    return;
  std::vector<std::optional<TFileIdentity>> identities;
  identities.reserve(journal.Rows.size());
  for (const TJournalEntry& read : journal.Rows) identities.push_back(read.Identity);
  table.SetIdentities(std::move(identities));
}

std::string RecoveredMark(std::uint64_t utcNs) {
  std::string bytes;
  const std::size_t begun = BeginBlock(bytes, TJournalBlock::Recovered);
  AppendNumber(bytes, utcNs);
  EndBlock(bytes, begun);
  return bytes;
}

}  // namespace vt
