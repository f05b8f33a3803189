#pragma once
// Draws a volume: its glyph 2 pixels in, the text after it on one line.
#include <QStyledItemDelegate>

namespace vt {

inline constexpr int kRootRole = Qt::UserRole;       // QByteArray: the bytes of the root
inline constexpr int kGlyphRole = Qt::UserRole + 1;  // int: TGlyph, absent for none

class TDriveItemDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // Shared with the box's own face.
  static void PaintItem(QPainter* painter, const QRect& rect, const QVariant& glyph, const QString& text,
                        const QColor& textColor);
};

}  // namespace vt
