#pragma once
// The report-style list of the Result page: shows the window's result table,
// read-only; column widths dragged by the user go back into the table.
#include <QTreeView>

#include "passes/ResultTable.h"

namespace vt {

class TResultTableModel;

class TResultListView : public QTreeView {
  Q_OBJECT
 public:
  TResultListView(TResultTable& table, QWidget* parent = nullptr);
  ~TResultListView() override;

  TResultTable& Table() { return Table_; }
  TResultTableModel* TableModel() const { return Model_; }
  // Stops following the table, for a window that destroys its table first.
  void Detach();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void ApplyTableLayout();
  void ColumnResized(int column, int oldSize, int newSize);
  void RecordPlacement();

  TResultTable& Table_;
  TResultTableModel* Model_ = nullptr;
  bool Applying_ = false;
  bool Detached_ = false;
};

}  // namespace vt
