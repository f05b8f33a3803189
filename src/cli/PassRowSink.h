#pragma once
// Where the rows of the command line's passes go: each row is handed to a row
// sink as it comes, with its status and errno, so rows can be written out while
// the pass runs; it is counted, and the table keeps it or lets it go. Rows put
// in the table before the pass (a loaded result file) are not handed on.
#include <cstddef>
#include <functional>
#include <span>

#include "cli/RowTally.h"
#include "passes/ResultTable.h"

namespace vt {

enum class TRowKeeping {
  Keep,  // the table holds every row (an aligned table, a result file to save)
  Drop,  // each batch leaves the table once the sink has it: a large pass holds no rows
};

class TPassRowSink {
 public:
  // The row as the table words it, its status, and the errno of the rename the
  // system refused for it (0 for none).
  using RowSink = std::function<void(const TResultRow&, TRenameStatus status, int systemError)>;

  // recordAllMessages: the passes give a row for every entry, not only for those renamed.
  TPassRowSink(TRowKeeping keeping, RowSink sink, bool recordAllMessages);
  TPassRowSink(const TPassRowSink&) = delete;
  TPassRowSink& operator=(const TPassRowSink&) = delete;

  TResultTable& ResultTable() { return Table_; }
  bool RecordAllMessages() const { return RecordAll_; }
  // The next rows of a pass; their names and folders are taken, not copied.
  void Add(std::span<TPassRow> rows);

  // Rows seen, and rows whose status says a file could not be renamed or found.
  std::size_t RowsSeen() const { return RowsSeen_; }
  std::size_t FailedRows() const { return FailedRows_; }
  const TRowTally& Tally() const { return Tally_; }

 private:
  TResultTable Table_;
  TResultRow Passing_;  // the row in hand when rows are dropped
  TRowKeeping Keeping_;
  RowSink Sink_;
  bool RecordAll_;
  std::size_t RowsSeen_ = 0;
  std::size_t FailedRows_ = 0;
  TRowTally Tally_;
};

}  // namespace vt
