#include "passes/UndoThread.h"

#include <algorithm>

#include "engine/Messages.h"
#include "passes/PassEnd.h"
#include "passes/UndoRowChecks.h"
#include "platform/PathSeparator.h"

namespace vt {

TUndoThread* TUndoThread::Start(IPassWindow& window, IDispatcher& dispatcher, IPassJournal* journal) {
  // The only owner from here on is the worker: it frees the object when it ends.
  return new TUndoThread(window, dispatcher, journal);
}

TUndoThread::TUndoThread(IPassWindow& window, IDispatcher& dispatcher, IPassJournal* journal)
    : TThread(dispatcher),  // created suspended
      Window_(window),
      Journal_(journal),
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
    if (judged.Status == TRenameStatus::rsNoMatch && !RecordAllMessages_.load(std::memory_order_relaxed))
      continue;
    RowJudged_ = &judged;
    RowPath = record.Path;
    Synchronize(AddUndoRowCall_);
  }
  RowJudged_ = nullptr;
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
  const bool stranded = record.StatusText == Message(Msg::Error) && IsStrandedName(record.NewFileName);
  if (record.StatusText != Message(Msg::Ok) && !stranded) {
    judged.RowFile = record.OldFileName;
    judged.Status = TRenameStatus::rsNoChange;
    return;
  }
  if (CheckUndoRow(record.Path, record.NewFileName, record.OldFileName) != TUndoRowFault::None) {
    judged.Status = TRenameStatus::rsError;
    return;
  }
  judged.Pending = true;
}

// Looks at the disk only now: an earlier rename back of the block may have
// given this row its file.
void TUndoThread::AttemptEntry(const TUndoProcessList& record, TUndoJudged& judged) {
  std::string folder = record.Path;
  if (folder.back() != PathSeparator) folder += PathSeparator;
  // Only a regular file: no pass renames links, FIFOs, sockets or devices.
  if (!FileExists(folder + record.NewFileName)) {
    judged.Status = TRenameStatus::rsFileNotFound;
    return;
  }
  if (record.NewFileName == record.OldFileName) {
    judged.Status = TRenameStatus::rsNoChange;
    return;
  }
  judged.Error = Renamer_.Rename(folder, record.NewFileName, record.OldFileName);
  if (judged.Error == 0) {
    judged.RowNewName = record.OldFileName;
    judged.Status = TRenameStatus::rsOk;
  } else {
    judged.Status = TRenameStatus::rsError;
  }
}

void TUndoThread::AddUndoRow() {
  Window_.NoteNextRow(RowJudged_->Status, RowJudged_->Error);
  Rows->AppendRow(RowJudged_->RowFile, RowJudged_->RowNewName, RowPath, StatusText(RowJudged_->Status));
}

void TUndoThread::FreeUndoList() {
  while (!UndoList.empty()) UndoList.pop_back();
}

void TUndoThread::PassTerminated() {
  Synchronize([this] { ShowPassEnd(Window_); });
  Synchronize([this] { Window_.EnableSearchControls(true); });
}

}  // namespace vt
