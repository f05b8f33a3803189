#include "cli/PassRowSink.h"

#include <utility>

#include "engine/RenameStatus.h"

namespace vt {

namespace {

bool IsFailed(TRenameStatus status) {
  return status == TRenameStatus::rsError || status == TRenameStatus::rsFileNotFound;
}

}  // namespace

TPassRowSink::TPassRowSink(TRowKeeping keeping, RowSink sink, bool recordAllMessages)
    : Keeping_(keeping), Sink_(std::move(sink)), RecordAll_(recordAllMessages) {}

void TPassRowSink::Add(std::span<const TPassRow> rows) {
  const std::size_t first = Table_.RowCount();
  Table_.AppendRows(rows);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const TPassRow& row = rows[i];
    if (IsFailed(row.Status)) ++FailedRows_;
    Tally_.Add(row.Status, row.SystemError);
    if (Sink_) Sink_(Table_.Row(first + i), row.Status, row.SystemError);
  }
  RowsSeen_ += rows.size();
  if (Keeping_ == TRowKeeping::Drop) Table_.Clear();
}

}  // namespace vt
