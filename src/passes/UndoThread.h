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
#include <string_view>
#include <vector>

#include "engine/RenameStatus.h"
#include "passes/PassJournal.h"
#include "passes/PassWindow.h"
#include "passes/UndoProcessList.h"
#include "platform/FolderRenamer.h"
#include "platform/Thread.h"

namespace vt {

class TUndoThread final : public TThread {
 public:
  // On the window thread, after the window has emptied panel 0, disabled its run
  // controls and set FRunning. Reads every row of the window's table now.
  // journal, when given, records the renames back before they are attempted.
  static TUndoThread* Start(IPassWindow& window, IDispatcher& dispatcher, IPassJournal* journal = nullptr);

  ~TUndoThread() override;

 private:
  TUndoThread(IPassWindow& window, IDispatcher& dispatcher, IPassJournal* journal);

  void Execute() override;
  void BuildUndoList();
  void ClearResultRows();
  void RunUndo();
  // What a row asks for, judged from its texts alone.
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
  void AddUndoRow();
  void FreeUndoList();
  void PassTerminated();

  IPassWindow& Window_;
  TResultTable* Rows = nullptr;
  TUndoList UndoList;
  std::vector<TUndoJudged> Block_;
  std::vector<TJournalEntry> Entries_;
  const TUndoJudged* RowJudged_ = nullptr;  // the row AddUndoRow appends
  std::string_view RowPath;
  IPassJournal* Journal_ = nullptr;
  bool HasRows = false;

  const std::atomic<bool>& RecordAllMessages_;
  TFolderRenamer Renamer_;
  const std::function<void()> AddUndoRowCall_ = [this] { AddUndoRow(); };
};

}  // namespace vt
