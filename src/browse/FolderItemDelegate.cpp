#include "browse/FolderItemDelegate.h"

#include <QPainter>
#include <algorithm>

#include "browse/FilterDirectoryListBox.h"
#include "browse/Glyphs.h"

namespace vt {

namespace {
constexpr int kTextGap = 4;
}

TFolderItemDelegate::TFolderItemDelegate(TFilterDirectoryListBox* list) : QStyledItemDelegate(list), List_(list) {}

int TFolderItemDelegate::Indent(int row) const {
  if (List_->ItemGlyph(row) == TGlyph::ClosedFolder) {
    const auto& folder = List_->Directory();
    return int(std::count(folder.begin(), folder.end(), '/')) * 4 + 6;
  }
  return row * 4 + 2;
}

void TFolderItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const bool selected = option.state & QStyle::State_Selected;
  painter->save();
  painter->fillRect(option.rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
  const int left = option.rect.left() + Indent(index.row());
  const QImage& glyph = GlyphImage(List_->ItemGlyph(index.row()));
  painter->drawImage(QPoint(left, option.rect.top() + (option.rect.height() - glyph.height()) / 2), glyph);
  QString text = index.data().toString();
  if (!List_->PreservesCase() && !List_->CaseSensitive()) text = text.toLower();
  painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  const QRect textRect(left + glyph.width() + kTextGap, option.rect.top(), option.rect.width(), option.rect.height());
  painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
  if (option.state & QStyle::State_HasFocus) {
    QStyleOptionFocusRect focus;
    focus.rect = option.rect;
    focus.palette = option.palette;
    focus.state = option.state;
    List_->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, List_);
  }
  painter->restore();
}

QSize TFolderItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const int glyphHeight = GlyphImage(TGlyph::OpenFolder).height();
  const int width = Indent(index.row()) + 16 + kTextGap + option.fontMetrics.horizontalAdvance(index.data().toString());
  return {width, std::max(option.fontMetrics.height(), glyphHeight + 1)};
}

}  // namespace vt
