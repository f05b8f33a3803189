#pragma once
// Draws a file name 2 pixels from the left edge, at the top of its row.
#include <QStyledItemDelegate>

namespace vt {

class TFileListBox;

class TFileItemDelegate : public QStyledItemDelegate {
 public:
  explicit TFileItemDelegate(TFileListBox* list);
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  TFileListBox* List_;
};

}  // namespace vt
