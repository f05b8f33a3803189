#include "passes/UndoThread.h"

#include <utility>

#include "passes/UndoRowChecks.h"
#include "platform/PathSeparator.h"

namespace vt {

TUndoThread::TUndoThread(TRowQueue& rows, TUndoList undoList, const std::atomic<bool>& recordAll)
    : Rows_(rows), UndoList(std::move(undoList)), RecordAllMessages_(recordAll) {}

TUndoList TUndoThread::BuildUndoList(const TResultTable& rows) {
  TUndoList list;
  list.reserve(rows.RowCount());
  for (const TResultRow& row : rows.Rows())
    list.push_back(TUndoProcessList{row.SubItem(1), row.SubItem(0), row.Caption, StatusOfText(row.SubItem(2))});
  return list;
}

void TUndoThread::Execute() {
  if (UndoList.empty()) return;
  RunUndo();
}

void TUndoThread::RunUndo() {
  for (const TUndoProcessList& record : UndoList) {
    UndoEntry(record.Path, record.NewFileName, record.OldFileName, record.Status);
    // A recover pass never gives "No Match"; the test is kept so both passes record alike.
    if (Status == TRenameStatus::rsNoMatch && !RecordAllMessages_.load(std::memory_order_relaxed))
      continue;
    AddUndoRow();
  }
  FreeUndoList();
}

void TUndoThread::UndoEntry(const std::string& path, const std::string& newName,
                            const std::string& oldName, std::optional<TRenameStatus> status) {
  RowFile = newName;
  RowNewName.clear();
  if (!RowPath || *RowPath != path) RowPath = std::make_shared<const std::string>(path);
  RowError_ = 0;
  // A file a rename could not finish and left under its temporary name is
  // brought back like a renamed one; its row says "Error" all the same.
  const bool stranded = status == TRenameStatus::rsError && IsStrandedName(newName);
  if (status != TRenameStatus::rsOk && !stranded) {
    RowFile = oldName;
    Status = TRenameStatus::rsNoChange;
    return;
  }
  Status = Renamer_.Undo(path, newName, oldName, RowError_);
  if (Status == TRenameStatus::rsOk) RowNewName = oldName;
}

void TUndoThread::AddUndoRow() {
  Rows_.Push(TPassRow{RowPath, RowFile, RowNewName, Status, RowError_, RowMark::None});
}

void TUndoThread::FreeUndoList() {
  while (!UndoList.empty()) UndoList.pop_back();
}

}  // namespace vt
