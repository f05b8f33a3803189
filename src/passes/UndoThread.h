#pragma once
// The recover pass: renames back every file whose row says "Ok", working from the
// rows read when it started, and pushes one recover row per row read into its
// queue, in the order of the rows read. It knows no window: the front end that
// owns it (passes/PassThread.h) empties the table, runs it on a worker and takes
// the rows. It has no stop request and always runs to its end.
//
// A pass renames one file into the name another had just left (2 to 1, then 3
// to 2, ...), so a file can only go back once the row whose new name holds its
// old one has gone back: such rows are renamed back last first. Rows no other
// row holds a name of go back in their own order, so the rows stream on.
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/RenameStatus.h"
#include "passes/PassJournal.h"
#include "passes/ResultTable.h"
#include "passes/RowQueue.h"
#include "passes/UndoList.h"
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
  enum class TRowState : std::uint8_t { Waiting, Visiting, Planned, Settled };
  // What became of a row; its texts follow from its record. 8 bytes a row.
  struct TOutcome {
    TRenameStatus Status = TRenameStatus::rsNoChange;
    TRowState State = TRowState::Waiting;
    bool Pending = false;  // checked and to be renamed back, if the file is there
    int Error = 0;
  };

  void RunUndo();
  void IndexHolders();
  // Plans the row and, before it, every row whose new name holds its old one;
  // false once the journal could not be written.
  bool Plan(std::size_t row);
  // A row not yet planned that holds the old name of row, if any.
  std::optional<std::size_t> WaitingHolder(std::size_t row) const;
  // Renames back the rows planned, in their order; false once the journal
  // could not be written.
  bool UndoPlanned();
  void Judge(std::size_t row);
  void PushSettled(bool all);
  void AddUndoRow(std::size_t row);
  void FreeUndoList();

  TRowQueue& Rows_;
  TUndoList UndoList;
  std::vector<TOutcome> Outcomes_;
  // Hash of (Path, New Name folded) of every row to be renamed back, with the row: sorted.
  std::vector<std::pair<std::uint64_t, std::size_t>> Holders_;
  std::vector<std::size_t> Planned_;  // rows of the next block, in the order of their renames back
  std::vector<std::size_t> Stack_;
  std::size_t NextPush_ = 0;  // rows before it are pushed
  std::vector<TJournalEntry> Entries_;
  std::shared_ptr<const std::string> RowPath;  // shared by consecutive rows of one folder
  IPassJournal* Journal_ = nullptr;
  // The row being renamed back, for its temporary names.
  std::size_t UndoingRow_ = 0;
  std::string_view UndoingFolder_;

  const std::atomic<bool>& RecordAllMessages_;
  TUndoRename Renamer_;
};

}  // namespace vt
