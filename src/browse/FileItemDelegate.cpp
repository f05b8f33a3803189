#include "browse/FileItemDelegate.h"

#include <QPainter>
#include <algorithm>

#include "browse/FileListBox.h"

namespace vt {

TFileItemDelegate::TFileItemDelegate(TFileListBox* list) : QStyledItemDelegate(list), List_(list) {}

void TFileItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const bool selected = option.state & QStyle::State_Selected;
  painter->save();
  painter->fillRect(option.rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
  painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  painter->drawText(option.rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                    index.data().toString());
  painter->restore();
}

QSize TFileItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  return {2 + option.fontMetrics.horizontalAdvance(index.data().toString()),
          std::max(List_->ItemHeight(), option.fontMetrics.height())};
}

}  // namespace vt
