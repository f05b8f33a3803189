#pragma once
// The recover pass: renames back every file whose row says "Ok", working from the
// row texts alone, and refills the table with one recover row per row read.
//
// Lifetime as for the rename pass (see passes/SearchThread.h): the object frees
// itself after its end handler; with TQueueDispatcher wait until ReleasedCount()
// has moved on. The pass has no stop request and always runs to its end.
#include <atomic>
#include <functional>
#include <string>

#include "engine/RenameStatus.h"
#include "passes/PassWindow.h"
#include "passes/UndoProcessList.h"
#include "passes/UndoRename.h"
#include "platform/Thread.h"

namespace vt {

class TUndoThread final : public TThread {
 public:
  // On the window thread, after the window has emptied panel 0, disabled its run
  // controls and set FRunning. Reads every row of the window's table now.
  static TUndoThread* Start(IPassWindow& window, IDispatcher& dispatcher);

  ~TUndoThread() override;

 private:
  TUndoThread(IPassWindow& window, IDispatcher& dispatcher);

  void Execute() override;
  void BuildUndoList();
  void ClearResultRows();
  void RunUndo();
  void UndoEntry(const std::string& path, const std::string& newName, const std::string& oldName,
                 const std::string& statusText);
  void AddUndoRow();
  void FreeUndoList();
  void PassTerminated();

  IPassWindow& Window_;
  TResultTable* Rows = nullptr;
  TUndoList UndoList;
  std::string RowFile;
  std::string RowNewName;
  std::string RowPath;
  TRenameStatus Status = TRenameStatus::rsNoChange;
  int RowError_ = 0;  // errno of a refused rename back, or noted for one carried out
  bool HasRows = false;

  const std::atomic<bool>& RecordAllMessages_;
  TUndoRename Renamer_;
  const std::function<void()> AddUndoRowCall_ = [this] { AddUndoRow(); };
};

}  // namespace vt
