#include "browse/FileItemDelegate.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <algorithm>

#include "browse/FileListBox.h"
#include "browse/FileNameModel.h"

namespace vt {

namespace {

const QString kArrow = QStringLiteral(" \u2192 ");

}  // namespace

TFileItemDelegate::TFileItemDelegate(TFileListBox* list) : QStyledItemDelegate(list), List_(list) {}

void TFileItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const bool selected = option.state & QStyle::State_Selected;
  painter->save();
  painter->fillRect(option.rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
  const QColor text = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
  painter->setPen(text);
  constexpr int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
  QRect place = option.rect.adjusted(2, 0, 0, 0);
  const QString name = index.data().toString();
  const QVariant newName = index.data(kNewNameRole);
  if (newName.isNull()) {
    painter->drawText(place, flags, name);
    painter->restore();
    return;
  }
  // The new name takes the room it needs; the old one is shortened in the middle when both do not fit.
  const auto mark = TPreviewMark(index.data(kPreviewMarkRole).toInt());
  const int side = mark == TPreviewMark::Renamed ? 0 : std::min(option.rect.height() - 2, 14);
  const QFontMetrics& metrics = option.fontMetrics;
  const QString after = kArrow + newName.toString();
  const int room = place.width() - side - (side > 0 ? 4 : 0);
  const int afterWidth = std::min(metrics.horizontalAdvance(after), room * 2 / 3);
  const QString before = metrics.elidedText(name, Qt::ElideMiddle, std::max(room - afterWidth, 0));
  painter->drawText(place, flags, before);
  place.setLeft(place.left() + metrics.horizontalAdvance(before));
  place.setRight(place.right() - side - (side > 0 ? 4 : 0));
  // The new name in the link colour; a refused one dimmed.
  if (!selected)
    painter->setPen(mark == TPreviewMark::Refused ? option.palette.color(QPalette::PlaceholderText)
                                                  : option.palette.color(QPalette::Link));
  painter->drawText(place, flags, metrics.elidedText(after, Qt::ElideRight, place.width()));
  if (side > 0) {
    const QRect sign(option.rect.right() - side - 2, option.rect.top() + (option.rect.height() - side) / 2, side, side);
    const QIcon icon = QApplication::style()->standardIcon(mark == TPreviewMark::Clash ? QStyle::SP_MessageBoxWarning
                                                                                       : QStyle::SP_MessageBoxCritical);
    icon.paint(painter, sign);
  }
  painter->restore();
}

QSize TFileItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  return {2 + option.fontMetrics.horizontalAdvance(index.data().toString()),
          std::max(List_->ItemHeight(), option.fontMetrics.height())};
}

}  // namespace vt
