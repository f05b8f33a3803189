#pragma once
// The recover pass: renames back every file whose row says "Ok", working from the
// rows read when it started, and pushes one recover row per row read into its
// queue. It knows no window: the front end that owns it (passes/PassThread.h)
// empties the table, runs it on a worker and takes the rows. It has no stop
// request and always runs to its end.
#include <atomic>
#include <memory>
#include <string>

#include "engine/RenameStatus.h"
#include "passes/ResultTable.h"
#include "passes/RowQueue.h"
#include "passes/UndoProcessList.h"
#include "passes/UndoRename.h"

namespace vt {

class TUndoThread final {
 public:
  // recordAll: "To Record all messages"; owned by the front end, which outlives the pass.
  TUndoThread(TRowQueue& rows, TUndoList undoList, const std::atomic<bool>& recordAll);
  TUndoThread(const TUndoThread&) = delete;
  TUndoThread& operator=(const TUndoThread&) = delete;

  // On the window thread: one record per row of the table, in row order.
  static TUndoList BuildUndoList(const TResultTable& rows);

  // The whole pass, on the worker.
  void Execute();

 private:
  void RunUndo();
  void UndoEntry(const std::string& path, const std::string& newName, const std::string& oldName,
                 std::optional<TRenameStatus> status);
  void AddUndoRow();
  void FreeUndoList();

  TRowQueue& Rows_;
  TUndoList UndoList;
  std::string RowFile;
  std::string RowNewName;
  std::shared_ptr<const std::string> RowPath;  // shared by consecutive rows of one folder
  TRenameStatus Status = TRenameStatus::rsNoChange;
  int RowError_ = 0;  // errno of a refused rename back, or noted for one carried out

  const std::atomic<bool>& RecordAllMessages_;
  TUndoRename Renamer_;
};

}  // namespace vt
