#include "passes/UndoThread.h"

#include "engine/Messages.h"
#include "passes/PassEnd.h"

namespace vt {

TUndoThread* TUndoThread::Start(IPassWindow& window, IDispatcher& dispatcher) {
  // The only owner from here on is the worker: it frees the object when it ends.
  return new TUndoThread(window, dispatcher);
}

TUndoThread::TUndoThread(IPassWindow& window, IDispatcher& dispatcher)
    : TThread(dispatcher),  // created suspended
      Window_(window),
      RecordAllMessages_(window.RecordAllMessages()) {
  FreeOnTerminate = true;
  OnTerminate = [this] { PassTerminated(); };
  Rows = &window.ResultTable();
  UndoList.clear();
  BuildUndoList();
  Resume();
}

TUndoThread::~TUndoThread() { FreeUndoList(); }

void TUndoThread::BuildUndoList() {
  HasRows = false;
  UndoList.reserve(Rows->RowCount());
  for (const TResultRow& row : Rows->Rows()) {
    UndoList.push_back(TUndoProcessList{row.SubItem(1), row.SubItem(0), row.Caption, row.SubItem(2)});
    HasRows = true;
  }
}

void TUndoThread::Execute() {
  if (!HasRows) return;
  Synchronize([this] { ClearResultRows(); });
  RunUndo();
}

void TUndoThread::ClearResultRows() { Rows->Clear(); }

void TUndoThread::RunUndo() {
  for (const TUndoProcessList& record : UndoList) {
    UndoEntry(record.Path, record.NewFileName, record.OldFileName, record.StatusText);
    // A recover pass never gives "No Match"; the test is kept so both passes record alike.
    if (Status == TRenameStatus::rsNoMatch && !RecordAllMessages_.load(std::memory_order_relaxed))
      continue;
    Synchronize(AddUndoRowCall_);
  }
  FreeUndoList();
}

void TUndoThread::UndoEntry(const std::string& path, const std::string& newName,
                            const std::string& oldName, const std::string& statusText) {
  RowFile = newName;
  RowNewName.clear();
  RowPath = path;
  RowError_ = 0;
  // A file a rename could not finish and left under its temporary name is
  // brought back like a renamed one; its row says "Error" all the same.
  const bool stranded = statusText == Message(Msg::Error) && IsStrandedName(newName);
  if (statusText != Message(Msg::Ok) && !stranded) {
    RowFile = oldName;
    Status = TRenameStatus::rsNoChange;
    return;
  }
  Status = Renamer_.Undo(path, newName, oldName, RowError_);
  if (Status == TRenameStatus::rsOk) RowNewName = oldName;
}

void TUndoThread::AddUndoRow() {
  Window_.NoteNextRow(Status, RowError_);
  Rows->AppendRow(RowFile, RowNewName, RowPath, StatusText(Status));
}

void TUndoThread::FreeUndoList() {
  while (!UndoList.empty()) UndoList.pop_back();
}

void TUndoThread::PassTerminated() {
  Synchronize([this] { ShowPassEnd(Window_); });
  Synchronize([this] { Window_.EnableSearchControls(true); });
}

}  // namespace vt
