#include "results/ResultLayout.h"

namespace vt {

TResultLayout::TResultLayout() : Columns_{{"File", 150}, {"New Name", 150}, {"Path", 176}, {"Status", 130}} {}

void TResultLayout::SetColumnWidth(std::size_t index, int width) {
  if (index >= Columns_.size() || Columns_[index].Width == width) return;
  Columns_[index].Width = width;
  NotifyLayoutChanged();
}

void TResultLayout::SetFont(const TResultFont& font) {
  if (font == Font_) return;
  Font_ = font;
  FontChanged_ = true;
  NotifyLayoutChanged();
}

void TResultLayout::SetTextColor(std::uint32_t color) {
  TResultFont font = Font_;
  font.Color = color;
  SetFont(font);
}

void TResultLayout::NotifyLayoutChanged() {
  if (Observer_) Observer_->LayoutChanged();
}

}  // namespace vt
