#include "passes/UndoThread.h"

#include <algorithm>
#include <utility>

#include "passes/UndoRowChecks.h"
#include "platform/PathSeparator.h"

namespace vt {

TUndoThread::TUndoThread(TRowQueue& rows, TUndoList undoList, const std::atomic<bool>& recordAll, IPassJournal* journal)
    : Rows_(rows), UndoList(std::move(undoList)), Journal_(journal), RecordAllMessages_(recordAll) {}

TUndoList TUndoThread::BuildUndoList(const TResultTable& rows) {
  TUndoList list;
  list.reserve(rows.RowCount());
  for (const TResultRow& row : rows.Rows())
    list.push_back(TUndoProcessList{std::string(row.Path()), row.NewName, row.OldName, row.KnownStatus()});
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
  for (std::size_t first = 0; first < UndoList.size(); first += kUndoBlockSize) {
    if (!UndoBlock(first, std::min(kUndoBlockSize, UndoList.size() - first))) break;
  }
  FreeUndoList();
}

bool TUndoThread::UndoBlock(std::size_t first, std::size_t count) {
  if (Block_.size() < count) Block_.resize(count);
  Entries_.clear();
  for (std::size_t i = 0; i < count; ++i) {
    const TUndoProcessList& record = UndoList[first + i];
    JudgeEntry(record, Block_[i]);
    if (Block_[i].Pending)
      Entries_.push_back(TJournalEntry{first + i, record.Path, record.NewFileName, record.OldFileName,
                                       TRenameStatus::rsCanBeRenamed, 0, true});
  }
  // No rename back without its record: a journal that cannot be written ends the pass.
  if (Journal_ != nullptr && !Entries_.empty() && !Journal_->Intend(Entries_)) return false;
  Entries_.clear();
  for (std::size_t i = 0; i < count; ++i) {
    const TUndoProcessList& record = UndoList[first + i];
    TUndoJudged& judged = Block_[i];
    if (judged.Pending) AttemptEntry(record, judged);
    Entries_.push_back(TJournalEntry{first + i, record.Path, judged.RowFile, judged.RowNewName, judged.Status,
                                     judged.Error, judged.Pending});
    // A recover pass never gives "No Match"; the test is kept so both passes record alike.
    if (judged.Status == TRenameStatus::rsNoMatch && !RecordAllMessages_.load(std::memory_order_relaxed)) continue;
    AddUndoRow(record.Path, judged);
  }
  if (Journal_ != nullptr) Journal_->Settled(Entries_);
  return true;
}

void TUndoThread::JudgeEntry(const TUndoProcessList& record, TUndoJudged& judged) {
  judged.RowFile = record.NewFileName;
  judged.RowNewName.clear();
  judged.Error = 0;
  judged.Pending = false;
  // A file a rename could not finish and left under its temporary name is
  // brought back like a renamed one; its row says "Error" all the same.
  const bool stranded = record.Status == TRenameStatus::rsError && IsStrandedName(record.NewFileName);
  if (record.Status != TRenameStatus::rsOk && !stranded) {
    judged.RowFile = record.OldFileName;
    judged.Status = TRenameStatus::rsNoChange;
    return;
  }
  // Whether a pass could have made the row is checked by the rename back itself.
  judged.Pending = true;
}

// Looks at the disk only now: an earlier rename back of the block may have
// given this row its file.
void TUndoThread::AttemptEntry(const TUndoProcessList& record, TUndoJudged& judged) {
  judged.Status = Renamer_.Undo(record.Path, record.NewFileName, record.OldFileName, judged.Error);
  if (judged.Status == TRenameStatus::rsOk) judged.RowNewName = record.OldFileName;
}

void TUndoThread::AddUndoRow(const std::string& path, const TUndoJudged& judged) {
  if (!RowPath || *RowPath != path) RowPath = std::make_shared<const std::string>(path);
  Rows_.Push(TPassRow{RowPath, judged.RowFile, judged.RowNewName, judged.Status, judged.Error, RowMark::None});
}

void TUndoThread::FreeUndoList() {
  while (!UndoList.empty()) UndoList.pop_back();
}

}  // namespace vt
