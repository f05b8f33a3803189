#pragma once
// Draws a folder item indented by its depth, with its glyph.
#include <QStyledItemDelegate>

namespace vt {

class TFilterDirectoryListBox;

class TFolderItemDelegate : public QStyledItemDelegate {
 public:
  explicit TFolderItemDelegate(TFilterDirectoryListBox* list);
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  int Indent(int row) const;

 private:
  TFilterDirectoryListBox* List_;
};

}  // namespace vt
