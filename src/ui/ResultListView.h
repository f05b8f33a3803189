#pragma once
// The report-style list of the Result page: shows the window's result table,
// read-only; column widths dragged by the user, and where the list stands, go
// into the layout a result file records.
// A table view with rows of one fixed height: a row appended costs the view the
// same whatever the number of rows before it, so a pass of a million files
// keeps the window answering.
#include <QTableView>

#include "passes/ResultTable.h"
#include "results/ResultLayout.h"

namespace vt {

class TResultTableModel;

class TResultListView : public QTableView {
  Q_OBJECT
 public:
  TResultListView(TResultTable& table, TResultLayout& layout, QWidget* parent = nullptr);
  ~TResultListView() override;

  TResultTable& Table() { return Table_; }
  // The column headings.
  QHeaderView* header() const { return horizontalHeader(); }
  TResultTableModel* TableModel() const { return Model_; }
  // Stops following the table and layout, for a window that destroys them first.
  void Detach();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void ApplyTableLayout();
  void ColumnResized(int column, int oldSize, int newSize);
  void RecordPlacement();

  TResultTable& Table_;
  TResultLayout& Layout_;
  TResultTableModel* Model_ = nullptr;
  bool Applying_ = false;
  bool Detached_ = false;
};

}  // namespace vt
