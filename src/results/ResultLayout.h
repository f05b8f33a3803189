#pragma once
// How the result table is laid out: its columns, its text font and its place
// in its page. A result file records it beside the rows, and the window's view
// shows the rows with it; the rows themselves know nothing of it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vt {

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

// Told of every change, so that a view can follow.
class IResultLayoutObserver {
 public:
  virtual ~IResultLayoutObserver() = default;
  virtual void LayoutChanged() = 0;  // columns, font or placement
};

class TResultLayout {
 public:
  TResultLayout();

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

  void SetObserver(IResultLayoutObserver* observer) { Observer_ = observer; }
  void NotifyLayoutChanged();

 private:
  std::vector<TResultColumn> Columns_;
  TResultFont Font_;
  bool FontChanged_ = false;
  IResultLayoutObserver* Observer_ = nullptr;
};

}  // namespace vt
