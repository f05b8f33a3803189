#include "passes/ResultRow.h"

namespace vt {

TResultRow TResultRow::FromTexts(std::string_view file, std::string_view newName, std::string_view path,
                                 std::string_view status) {
  TResultRow row;
  row.OldName.assign(file);
  row.NewName.assign(newName);
  row.Folder = std::make_shared<const std::string>(path);
  if (const std::optional<TRenameStatus> known = StatusOfText(status)) {
    row.Status = *known;
  } else {
    auto kept = std::make_shared<TKeptCells>();
    kept->StatusText.emplace(status);
    row.Kept = std::move(kept);
  }
  return row;
}

std::optional<TRenameStatus> TResultRow::KnownStatus() const {
  if (Kept && Kept->StatusText) return std::nullopt;
  return Status;
}

std::string_view TResultRow::Path() const { return Folder ? std::string_view(*Folder) : std::string_view(); }

std::string_view TResultRow::StatusWord() const {
  if (Kept && Kept->StatusText) return *Kept->StatusText;
  return StatusText(Status);
}

std::string_view TResultRow::Cell(std::size_t column) const {
  if (column > SubCount()) return {};
  switch (column) {
    case 0: return OldName;
    case 1: return NewName;
    case 2: return Path();
    case 3: return StatusWord();
    default: return Kept->More[column - 4];
  }
}

}  // namespace vt
