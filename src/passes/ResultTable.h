#pragma once
// The result table as a model: typed rows and the layout a result file records.
// The window shows it; passes append to it on the window thread; result files
// read and write it.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "passes/PassRow.h"
#include "passes/ResultRow.h"

namespace vt {

// A deque: a table of a million rows grows without moving its rows, and never
// holds the old and the new room at once as a growing vector does.
using TResultRows = std::deque<TResultRow>;

struct TResultColumn {
  std::string Caption;
  int Width = 50;
};

namespace TextColor {
inline constexpr std::uint32_t Black = 0x000000;
inline constexpr std::uint32_t Gray = 0x808080;
}  // namespace TextColor

// Style bits of the text font.
namespace FontStyle {
inline constexpr std::uint8_t Bold = 0x01;
inline constexpr std::uint8_t Italic = 0x02;
inline constexpr std::uint8_t Underline = 0x04;
inline constexpr std::uint8_t StrikeOut = 0x08;
}  // namespace FontStyle

struct TResultFont {
  std::uint32_t Color = TextColor::Black;
  int Height = -11;
  std::string Name = "MS Sans Serif";
  std::uint8_t Style = 0;  // FontStyle bits; none at start-up
  bool operator==(const TResultFont&) const = default;
};

// Told of every change, so that a view can follow the model.
class IResultTableObserver {
 public:
  virtual ~IResultTableObserver() = default;
  virtual void RowsAppended(std::size_t first, std::size_t count) = 0;
  virtual void RowsCleared() = 0;
  virtual void LayoutChanged() = 0;  // columns, font or placement
};

class TResultTable {
 public:
  TResultTable();

  // Rows
  std::size_t RowCount() const { return Rows_.size(); }
  const TResultRow& Row(std::size_t index) const { return Rows_[index]; }
  const TResultRows& Rows() const { return Rows_; }
  void AppendRow(TResultRow row);
  // Many rows at once, told to the observer as one append.
  void AppendRows(std::vector<TResultRow> rows);
  // Rows of a pass, told to the observer as one append.
  void AppendRows(std::span<const TPassRow> rows);
  // A row of four texts (TResultRow::FromTexts).
  void AppendRow(std::string_view file, std::string_view newName, std::string_view path,
                 std::string_view status);
  void Clear();

  // Columns: File 150, New Name 150, Path 176, Status 130 at start-up.
  std::vector<TResultColumn>& Columns() { return Columns_; }
  const std::vector<TResultColumn>& Columns() const { return Columns_; }
  void SetColumnWidth(std::size_t index, int width);

  // Text font. FontChanged() tells whether it differs, or once differed, from the
  // font the table had at start-up; a result file then records it.
  const TResultFont& Font() const { return Font_; }
  void SetFont(const TResultFont& font);
  void SetTextColor(std::uint32_t color);
  bool FontChanged() const { return FontChanged_; }

  // Placement in its page.
  int Left = 0;
  int Top = 0;
  int Width = 612;
  int Height = 286;

  void SetObserver(IResultTableObserver* observer) { Observer_ = observer; }
  void NotifyLayoutChanged();

 private:
  TResultRows Rows_;
  std::vector<TResultColumn> Columns_;
  TResultFont Font_;
  bool FontChanged_ = false;
  IResultTableObserver* Observer_ = nullptr;
};

}  // namespace vt
