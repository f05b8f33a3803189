#pragma once
// Draws a file name 2 pixels from the left edge, at the top of its row; with a
// preview, an arrow and the new name after it, and a sign at the right end of a
// row that would clash (warning) or be refused (error).
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
