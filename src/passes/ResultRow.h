#pragma once
// One row of the result table, typed: what a pass found and did, with no text
// made yet. The words of a row (its status text) are made where they are shown
// or saved. A row read from a result file may carry what no pass makes (a status
// text the program does not know, cells missing or added, other image numbers):
// that is kept as it was read, so that saving the file again gives its bytes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/RenameStatus.h"
#include "passes/PassRow.h"

namespace vt {

// What a front end may mark on a table's row; a pass sets none.
namespace RowMark {
inline constexpr std::uint8_t None = 0;
// Read from a journal, whose texts are never cut: Recover need not fear a cut Path.
inline constexpr std::uint8_t WholeTexts = 1;
}  // namespace RowMark

// What a loaded row holds beyond the row a pass makes.
struct TKeptCells {
  std::int32_t ImageNo = 0;
  std::int32_t StateImageNo = -1;
  std::int32_t OverlayNo = -1;
  std::int32_t UserWord = 0;
  std::size_t SubCount = 3;  // sub-texts (New Name, Path, Status, more) the row had
  // The Status cell as read, when it names no status (empty when the row had none).
  std::optional<std::string> StatusText;
  std::vector<std::string> More;  // sub-texts after the Status cell
};

// The pass's row, and what a front end or a loaded file adds to it.
struct TResultRow : TPassRow {
  TResultRow() = default;
  explicit TResultRow(const TPassRow& row) : TPassRow(row) {}
  explicit TResultRow(TPassRow&& row) : TPassRow(std::move(row)) {}
  // A row of four texts as a file or a table holds them; a status text the
  // program does not know is kept as it is.
  static TResultRow FromTexts(std::string_view file, std::string_view newName, std::string_view path,
                              std::string_view status);

  // The pass's Status is meaningless when the row keeps a status text of its
  // own: ask KnownStatus().
  std::uint8_t Marks = RowMark::None;  // in the room after the pass's row
  // Only for a loaded row that a pass would not have made; else none.
  std::shared_ptr<const TKeptCells> Kept;

  // The status, none when the row's Status cell names none.
  std::optional<TRenameStatus> KnownStatus() const;
  std::string_view Path() const;
  // The Status cell's text: the status's word, or the text kept.
  std::string_view StatusWord() const;

  // Cells in the order of the columns: File, New Name, Path, Status, then any
  // more a loaded row had; an empty text past the last.
  std::size_t SubCount() const { return Kept ? Kept->SubCount : 3; }
  std::string_view Cell(std::size_t column) const;

  std::int32_t ImageNo() const { return Kept ? Kept->ImageNo : 0; }
  std::int32_t StateImageNo() const { return Kept ? Kept->StateImageNo : -1; }
  std::int32_t OverlayNo() const { return Kept ? Kept->OverlayNo : -1; }
  std::int32_t UserWord() const { return Kept ? Kept->UserWord : 0; }
};
// A table of a million rows: the marks cost no room of their own.
static_assert(sizeof(TResultRow) == sizeof(TPassRow) + sizeof(std::shared_ptr<const TKeptCells>));

}  // namespace vt
