#include "cli/CliWindow.h"

#include <utility>

#include "engine/RenameStatus.h"

namespace vt {

namespace {

bool IsFailed(TRenameStatus status) {
  return status == TRenameStatus::rsError || status == TRenameStatus::rsFileNotFound;
}

}  // namespace

TCliWindow::TCliWindow(TRowKeeping keeping, RowSink sink, bool recordAllMessages)
    : Keeping_(keeping), Sink_(std::move(sink)), RecordAll_(recordAllMessages) {}

void TCliWindow::EnableSearchControls(bool enable) {
  // Every pass starts by taking the controls and ends by giving them back.
  if (!enable) UndoEnabled_ = false;
}

void TCliWindow::SetStatusText(int panel, const std::string& text) { Panels_[panel == 0 ? 0 : 1] = text; }

void TCliWindow::PassRows(std::span<const TPassRow> rows) {
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

void TCliWindow::FolderUnreadable(const std::string& folder, int error) {
  if (Unreadable_) Unreadable_(folder, error);
}

}  // namespace vt
