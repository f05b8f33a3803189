#include "passes/ResultTable.h"

#include <iterator>
#include <utility>

namespace vt {

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
  Identities_.clear();
  if (Rows_.empty()) return;
  Rows_.clear();
  if (Observer_) Observer_->RowsCleared();
}

void TResultTable::StartPassRows(TPassRows rows) {
  if (Observer_) Observer_->PassRowsStarted(rows);
}

}  // namespace vt
