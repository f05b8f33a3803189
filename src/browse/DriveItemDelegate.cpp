#include "browse/DriveItemDelegate.h"

#include <QPainter>

#include "browse/Glyphs.h"

namespace vt {

namespace {
constexpr int kGlyphLeft = 2;
constexpr int kTextGap = 6;
constexpr int kGlyphWidth = 16;
constexpr int kGlyphHeight = 11;
}  // namespace

void TDriveItemDelegate::PaintItem(QPainter* painter, const QRect& rect, const QVariant& glyph, const QString& text,
                                   const QColor& textColor) {
  int textLeft = kGlyphWidth + kTextGap;
  if (glyph.isValid()) {
    const QImage& image = GlyphImage(TGlyph(glyph.toInt()));
    painter->drawImage(QPoint(rect.left() + kGlyphLeft, rect.top() + (rect.height() - image.height()) / 2), image);
    textLeft = image.width() + kTextGap;
  }
  painter->setPen(textColor);
  // No mnemonic flag: "&" in a label is an ordinary character.
  painter->drawText(rect.adjusted(textLeft, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
}

void TDriveItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const bool selected = option.state & QStyle::State_Selected;
  painter->save();
  painter->fillRect(option.rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
  PaintItem(painter, option.rect, index.data(kGlyphRole), index.data(Qt::DisplayRole).toString(),
            option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  painter->restore();
}

QSize TDriveItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const int width = kGlyphWidth + kTextGap + option.fontMetrics.horizontalAdvance(index.data().toString()) + 4;
  return {width, std::max(option.fontMetrics.height(), kGlyphHeight)};
}

}  // namespace vt
