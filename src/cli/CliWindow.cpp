#include "cli/CliWindow.h"

#include <utility>

#include "engine/RenameStatus.h"

namespace vt {

bool IsFailedStatus(const std::string& statusText) {
  return statusText == StatusText(TRenameStatus::rsError) ||
         statusText == StatusText(TRenameStatus::rsFileNotFound);
}

TCliWindow::TCliWindow(TRowKeeping keeping, RowSink sink, bool recordAllMessages)
    : Keeping_(keeping), Sink_(std::move(sink)), RecordAll_(recordAllMessages) {
  Table_.SetObserver(this);
}

TCliWindow::~TCliWindow() { Table_.SetObserver(nullptr); }

void TCliWindow::EnableSearchControls(bool enable) {
  // Every pass starts by taking the controls and ends by giving them back.
  Streaming_ = !enable;
  if (!enable) UndoEnabled_ = false;
}

void TCliWindow::SetStatusText(int panel, const std::string& text) {
  Panels_[panel == 0 ? 0 : 1] = text;
}

void TCliWindow::RowsAppended(std::size_t first, std::size_t count) {
  if (Dropping_ || !Streaming_) return;
  for (std::size_t i = first; i < first + count; ++i) {
    const TResultRow& row = Table_.Row(i);
    if (IsFailedStatus(row.SubItem(2))) ++FailedRows_;
    if (Sink_) Sink_(row);
  }
  RowsSeen_.fetch_add(count, std::memory_order_relaxed);
  if (Keeping_ == TRowKeeping::Drop) {
    Dropping_ = true;
    Table_.Clear();
    Dropping_ = false;
  }
}

}  // namespace vt
