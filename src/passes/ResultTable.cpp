#include "passes/ResultTable.h"

#include <iterator>
#include <utility>

namespace vt {

const std::string& TResultRow::SubItem(std::size_t index) const {
  static const std::string kEmpty;
  return index < SubItems.size() ? SubItems[index] : kEmpty;
}

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
  static const std::string kNoFolder;
  for (const TPassRow& row : rows)
    Rows_.push_back(MakeRow(row.OldName, row.NewName, row.Folder ? *row.Folder : kNoFolder, StatusText(row.Status)));
  if (Observer_) Observer_->RowsAppended(first, Rows_.size() - first);
}

void TResultTable::AppendRow(std::string_view file, std::string_view newName, std::string_view path,
                             std::string_view status) {
  AppendRow(MakeRow(file, newName, path, status));
}

TResultRow TResultTable::MakeRow(std::string_view file, std::string_view newName, std::string_view path,
                                 std::string_view status) {
  // A row cleared before is refilled in place: its texts keep their memory.
  TResultRow row;
  if (!Spare_.empty()) {
    row = std::move(Spare_.back());
    Spare_.pop_back();
    const TResultRow fresh;
    row.ImageNo = fresh.ImageNo;
    row.StateImageNo = fresh.StateImageNo;
    row.OverlayNo = fresh.OverlayNo;
    row.UserWord = fresh.UserWord;
  }
  row.Caption.assign(file);
  row.SubItems.resize(3);
  row.SubItems[0].assign(newName);
  row.SubItems[1].assign(path);
  row.SubItems[2].assign(status);
  return row;
}

void TResultTable::Clear() {
  if (Rows_.empty()) return;
  // A table cleared again and again (the command line drops the rows it has
  // written) would otherwise free and allocate every row's texts each time.
  if (Rows_.size() + Spare_.size() <= kSpareRows)
    Spare_.insert(Spare_.end(), std::make_move_iterator(Rows_.begin()), std::make_move_iterator(Rows_.end()));
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
