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

void TPassRowSink::Add(std::span<TPassRow> rows) {
  const bool keep = Keeping_ == TRowKeeping::Keep;
  const std::size_t first = Table_.RowCount();
  if (keep) Table_.AppendRows(std::span<const TPassRow>(rows));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    TPassRow& row = rows[i];
    if (IsFailed(row.Status)) ++FailedRows_;
    Tally_.Add(row.Status, row.SystemError);
    if (!Sink_) continue;
    if (keep) {
      Sink_(Table_.Row(first + i), row.Status, row.SystemError);
      continue;
    }
    // A row let go at once is worded in one row kept for it: the row's names
    // and folder move there, as the row is let go anyway.
    Passing_.Folder = std::move(row.Folder);
    Passing_.OldName = std::move(row.OldName);
    Passing_.NewName = std::move(row.NewName);
    Passing_.Status = row.Status;
    Passing_.SystemError = row.SystemError;
    Sink_(Passing_, row.Status, row.SystemError);
  }
  RowsSeen_ += rows.size();
  if (!keep) Table_.Clear();
}

}  // namespace vt
