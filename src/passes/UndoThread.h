#pragma once
// The recover pass: renames back every file whose row says "Ok", working from the
// rows read when it started, and pushes one recover row per row read into its
// queue. It knows no window: the front end that owns it (passes/PassThread.h)
// empties the table, runs it on a worker and takes the rows. It has no stop
// request and always runs to its end.
#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/RenameStatus.h"
#include "passes/PassJournal.h"
#include "passes/ResultTable.h"
#include "passes/RowQueue.h"
#include "passes/UndoProcessList.h"
#include "passes/UndoRename.h"

namespace vt {

class TUndoThread final {
 public:
  // recordAll: "To Record all messages"; owned by the front end, which outlives
  // the pass. journal, when given, records the renames back before they are
  // attempted; owned by the caller, used on the worker only.
  TUndoThread(TRowQueue& rows, TUndoList undoList, const std::atomic<bool>& recordAll, IPassJournal* journal = nullptr);
  TUndoThread(const TUndoThread&) = delete;
  TUndoThread& operator=(const TUndoThread&) = delete;

  // On the window thread: one record per row of the table, in row order.
  static TUndoList BuildUndoList(const TResultTable& rows);

  // The whole pass, on the worker.
  void Execute();

 private:
  void RunUndo();
  // What a row asks for, judged from the row alone.
  struct TUndoJudged {
    TRenameStatus Status = TRenameStatus::rsNoChange;
    int Error = 0;
    bool Pending = false;  // checked and to be renamed back, if the file is there
    std::string RowFile;
    std::string RowNewName;
  };
  bool UndoBlock(std::size_t first, std::size_t count);
  void JudgeEntry(const TUndoProcessList& record, TUndoJudged& judged);
  void AttemptEntry(const TUndoProcessList& record, TUndoJudged& judged);
  void AddUndoRow(const std::string& path, const TUndoJudged& judged);
  void FreeUndoList();

  TRowQueue& Rows_;
  TUndoList UndoList;
  std::vector<TUndoJudged> Block_;
  std::vector<TJournalEntry> Entries_;
  std::shared_ptr<const std::string> RowPath;  // shared by consecutive rows of one folder
  IPassJournal* Journal_ = nullptr;

  const std::atomic<bool>& RecordAllMessages_;
  TUndoRename Renamer_;
};

}  // namespace vt
