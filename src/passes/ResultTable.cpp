#include "passes/ResultTable.h"

#include <iterator>
#include <utility>

namespace vt {

TResultTable::TResultTable()
    : Columns_{{"File", 150}, {"New Name", 150}, {"Path", 176}, {"Status", 130}} {}

void TResultTable::AppendRow(TResultRow row) {
  Rows_.push_back(std::move(row));
  if (Observer_) Observer_->RowsAppended(Rows_.size() - 1, 1);
}

void TResultTable::AppendRows(std::vector<TResultRow> rows) {
  if (rows.empty()) return;
  const std::size_t first = Rows_.size();
  Rows_.insert(Rows_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
  if (Observer_) Observer_->RowsAppended(first, Rows_.size() - first);
}

void TResultTable::AppendRows(std::span<const TPassRow> rows) {
  if (rows.empty()) return;
  const std::size_t first = Rows_.size();
  for (const TPassRow& row : rows) Rows_.emplace_back(row);
  if (Observer_) Observer_->RowsAppended(first, Rows_.size() - first);
}

void TResultTable::AppendRow(std::string_view file, std::string_view newName, std::string_view path,
                             std::string_view status) {
  AppendRow(TResultRow::FromTexts(file, newName, path, status));
}

void TResultTable::Clear() {
  if (Rows_.empty()) return;
  Rows_.clear();
  if (Observer_) Observer_->RowsCleared();
}

void TResultTable::SetColumnWidth(std::size_t index, int width) {
  if (index >= Columns_.size() || Columns_[index].Width == width) return;
  Columns_[index].Width = width;
  NotifyLayoutChanged();
}

void TResultTable::SetFont(const TResultFont& font) {
  if (font == Font_) return;
  Font_ = font;
  FontChanged_ = true;
  NotifyLayoutChanged();
}

void TResultTable::SetTextColor(std::uint32_t color) {
  TResultFont font = Font_;
  font.Color = color;
  SetFont(font);
}

void TResultTable::NotifyLayoutChanged() {
  if (Observer_) Observer_->LayoutChanged();
}

}  // namespace vt
