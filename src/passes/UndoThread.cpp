#include "passes/UndoThread.h"

#include <algorithm>
#include <utility>

#include "passes/UndoRowChecks.h"
#include "platform/FolderRenamer.h"

namespace vt {
TUndoThread::TUndoThread(TRowQueue& rows, TUndoList undoList, const std::atomic<bool>& recordAll, IPassJournal* journal)
    : Rows_(rows), UndoList(std::move(undoList)), Journal_(journal), RecordAllMessages_(recordAll) {
  // A hidden temporary name is on record before a file goes there: a killed recover is recoverable too.
  if (Journal_ != nullptr)
    Renamer_.OnTemporaryName(
        [this](std::string_view name) { return Journal_->Temporary(UndoingRow_, UndoingFolder_, name); });
}

TUndoList TUndoThread::BuildUndoList(const TResultTable& rows) {
  TUndoList list;
  for (std::size_t i = 0; i < rows.RowCount(); ++i) {
    const TResultRow& row = rows.Row(i);
    list.Add(TUndoList::TRow{row.Path(), row.NewName, row.OldName, row.KnownStatus(),
                             (row.Marks & RowMark::WholeTexts) != 0 ? TPathTexts::Whole : TPathTexts::MayBeCut,
                             rows.IdentityOf(i)});
  }
  return list;
}

void TUndoThread::Execute() {
  if (UndoList.empty()) return;
  RunUndo();
}

// Rows are undone in blocks, as the rename pass renames: the block's renames
// back go to the journal in one write before the first of them.
constexpr std::size_t kUndoBlockSize = 256;

void TUndoThread::RunUndo() {
  Outcomes_.assign(UndoList.size(), TOutcome{});
  for (std::size_t row = 0; row < UndoList.size(); ++row) Judge(row);
  IndexHolders();
  bool written = true;
  for (std::size_t row = 0; row < UndoList.size() && written; ++row)
    if (Outcomes_[row].State == TRowState::Waiting) written = Plan(row);
  if (written) written = UndoPlanned();
  // A journal that could not be written ends the pass: every row renamed back
  // is still shown, those after a row not reached too.
  PushSettled(!written);
  FreeUndoList();
}

// A file a rename could not finish and left under its temporary name is
// brought back like a renamed one; its row says "Error" all the same.
void TUndoThread::Judge(std::size_t row) {
  const TUndoList::TRow record = UndoList[row];
  TOutcome& outcome = Outcomes_[row];
  const bool stranded = record.Status == TRenameStatus::rsError && IsStrandedName(record.NewFileName);
  // Whether a pass could have made the row is checked by the rename back itself.
  outcome.Pending = record.Status == TRenameStatus::rsOk || stranded;
  outcome.Status = outcome.Pending ? TRenameStatus::rsCanBeRenamed : TRenameStatus::rsNoChange;
}

void TUndoThread::IndexHolders() {
  Holders_.clear();
  for (std::size_t row = 0; row < UndoList.size(); ++row)
    if (Outcomes_[row].Pending)
      Holders_.emplace_back(FoldedNameKey(UndoList.Path(row), UndoList.NewFileName(row)), row);
  std::sort(Holders_.begin(), Holders_.end());
}

std::optional<std::size_t> TUndoThread::WaitingHolder(std::size_t row) const {
  if (!Outcomes_[row].Pending) return std::nullopt;
  const std::string_view path = UndoList.Path(row);
  const std::string_view oldName = UndoList.OldFileName(row);
  const std::uint64_t key = FoldedNameKey(path, oldName);
  auto it = std::lower_bound(Holders_.begin(), Holders_.end(), std::pair<std::uint64_t, std::size_t>{key, 0});
  for (; it != Holders_.end() && it->first == key; ++it) {
    const std::size_t holder = it->second;
    if (holder == row || Outcomes_[holder].State != TRowState::Waiting) continue;
    if (UndoList.Path(holder) == path && SameFoldedName(UndoList.NewFileName(holder), oldName)) return holder;
  }
  return std::nullopt;
}

// Depth first without recursion: a renumbering of a million files is one chain.
// A row met again while its chain is planned (a cycle no pass makes) is not
// waited for: its rename back is attempted where it stands.
bool TUndoThread::Plan(std::size_t row) {
  Stack_.assign(1, row);
  Outcomes_[row].State = TRowState::Visiting;
  while (!Stack_.empty()) {
    const std::size_t top = Stack_.back();
    if (const std::optional<std::size_t> holder = WaitingHolder(top)) {
      Outcomes_[*holder].State = TRowState::Visiting;
      Stack_.push_back(*holder);
      continue;
    }
    Stack_.pop_back();
    Outcomes_[top].State = TRowState::Planned;
    Planned_.push_back(top);
    if (Planned_.size() >= kUndoBlockSize && !UndoPlanned()) return false;
  }
  return true;
}

bool TUndoThread::UndoPlanned() {
  if (Planned_.empty()) return true;
  Entries_.clear();
  for (const std::size_t row : Planned_) {
    if (Outcomes_[row].Pending)
      Entries_.push_back(TJournalEntry{row, UndoList.Path(row), UndoList.NewFileName(row), UndoList.OldFileName(row),
                                       TRenameStatus::rsCanBeRenamed, 0, true});
  }
  // No rename back without its record.
  if (Journal_ != nullptr && !Entries_.empty() && !Journal_->Intend(Entries_)) return false;
  Entries_.clear();
  for (const std::size_t row : Planned_) {
    const TUndoList::TRow record = UndoList[row];
    TOutcome& outcome = Outcomes_[row];
    // Looks at the disk only now: an earlier rename back may have given this row its file.
    if (outcome.Pending) {
      UndoingRow_ = row;
      UndoingFolder_ = record.Path;
      outcome.Status = Renamer_.Undo(std::string(record.Path), std::string(record.NewFileName),
                                     std::string(record.OldFileName), record.Texts, outcome.Error, record.Identity);
    }
    outcome.State = TRowState::Settled;
    const bool renamed = outcome.Status == TRenameStatus::rsOk;
    Entries_.push_back(TJournalEntry{row, record.Path, outcome.Pending ? record.NewFileName : record.OldFileName,
                                     renamed ? std::string_view(record.OldFileName) : std::string_view(),
                                     outcome.Status, outcome.Error, outcome.Pending});
  }
  if (Journal_ != nullptr) Journal_->Settled(Entries_);
  Planned_.clear();
  PushSettled(false);
  return true;
}

// In the order of the rows read; all: also past a row never settled.
void TUndoThread::PushSettled(bool all) {
  for (; NextPush_ < UndoList.size(); ++NextPush_) {
    if (Outcomes_[NextPush_].State != TRowState::Settled) {
      if (all) continue;
      return;
    }
    AddUndoRow(NextPush_);
  }
}

void TUndoThread::AddUndoRow(std::size_t row) {
  const TUndoList::TRow record = UndoList[row];
  const TOutcome& outcome = Outcomes_[row];
  // A recover pass never gives "No Match"; the test is kept so both passes record alike.
  if (outcome.Status == TRenameStatus::rsNoMatch && !RecordAllMessages_.load(std::memory_order_relaxed)) return;
  if (!RowPath || *RowPath != record.Path) RowPath = std::make_shared<const std::string>(record.Path);
  const bool renamed = outcome.Status == TRenameStatus::rsOk;
  Rows_.Push(TPassRow{RowPath, std::string(outcome.Pending ? record.NewFileName : record.OldFileName),
                      renamed ? std::string(record.OldFileName) : std::string(), outcome.Error, outcome.Status});
}

void TUndoThread::FreeUndoList() {
  UndoList.Clear();
  std::vector<TOutcome>().swap(Outcomes_);
  std::vector<std::pair<std::uint64_t, std::size_t>>().swap(Holders_);
}

}  // namespace vt
