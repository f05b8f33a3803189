#include "cli/CliWindow.h"

#include <optional>
#include <utility>

#include "engine/RenameStatus.h"

namespace vt {

namespace {

// Rows a dropping window holds at most: clearing the table per row costs more
// than the rows' memory saves.
constexpr std::size_t kDroppedBatch = 256;

bool IsFailed(TRenameStatus status) {
  return status == TRenameStatus::rsError || status == TRenameStatus::rsFileNotFound;
}

std::optional<TRenameStatus> StatusOfText(const std::string& text) {
  for (std::uint8_t code = 0; code <= static_cast<std::uint8_t>(TRenameStatus::rsCanBeRenamed); ++code)
    if (text == StatusText(static_cast<TRenameStatus>(code))) return static_cast<TRenameStatus>(code);
  return std::nullopt;
}

}  // namespace

bool IsFailedStatus(const std::string& statusText) {
  const std::optional<TRenameStatus> status = StatusOfText(statusText);
  return status && IsFailed(*status);
}

TCliWindow::TCliWindow(TRowKeeping keeping, RowSink sink, bool recordAllMessages)
    : Keeping_(keeping), Sink_(std::move(sink)), RecordAll_(recordAllMessages) {
  Table_.SetObserver(this);
}

TCliWindow::~TCliWindow() { Table_.SetObserver(nullptr); }

void TCliWindow::EnableSearchControls(bool enable) {
  // Every pass starts by taking the controls and ends by giving them back.
  Streaming_ = !enable;
  if (!enable) {
    UndoEnabled_ = false;
    return;
  }
  if (Keeping_ == TRowKeeping::Drop) {
    Dropping_ = true;
    Table_.Clear();
    Dropping_ = false;
  }
}

void TCliWindow::SetStatusText(int panel, const std::string& text) {
  Panels_[panel == 0 ? 0 : 1] = text;
}

void TCliWindow::NoteNextRow(TRenameStatus status, int systemError) {
  NextRowNoted_ = true;
  NextStatus_ = status;
  NextError_ = systemError;
}

void TCliWindow::RowsAppended(std::size_t first, std::size_t count) {
  if (Dropping_ || !Streaming_) return;
  for (std::size_t i = first; i < first + count; ++i) {
    const TResultRow& row = Table_.Row(i);
    // The pass names the status of its row; the text is looked up only for a row
    // that came without.
    std::optional<TRenameStatus> status;
    int error = 0;
    if (NextRowNoted_) {
      status = NextStatus_;
      error = NextError_;
      NextRowNoted_ = false;
    } else {
      status = StatusOfText(row.SubItem(2));
    }
    if (status) {
      if (IsFailed(*status)) ++FailedRows_;
      Tally_.Add(*status, error);
    }
    if (Sink_) Sink_(row, error);
  }
  RowsSeen_.fetch_add(count, std::memory_order_relaxed);
  if (Keeping_ == TRowKeeping::Drop && Table_.RowCount() >= kDroppedBatch) {
    Dropping_ = true;
    Table_.Clear();
    Dropping_ = false;
  }
}

}  // namespace vt
