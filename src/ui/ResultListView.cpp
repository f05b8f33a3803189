#include "ui/ResultListView.h"

#include <QHeaderView>
#include <QResizeEvent>

#include "ui/ResultTableModel.h"

namespace vt {

TResultListView::TResultListView(TResultTable& table, TResultLayout& layout, QWidget* parent)
    : QTableView(parent), Table_(table), Layout_(layout), Model_(new TResultTableModel(table, layout, this)) {
  setModel(Model_);
  // A report: no grid, no row numbers, rows one line high, long texts cut.
  setShowGrid(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(1);
  header()->setHighlightSections(false);
  header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  header()->setStretchLastSection(false);
  header()->setSectionsMovable(false);
  header()->setMinimumSectionSize(0);
  connect(Model_, &TResultTableModel::TableLayoutChanged, this, &TResultListView::ApplyTableLayout);
  connect(Model_, &QAbstractItemModel::modelReset, this, &TResultListView::ApplyTableLayout);
  connect(header(), &QHeaderView::sectionResized, this, &TResultListView::ColumnResized);
  ApplyTableLayout();
}

TResultListView::~TResultListView() { Detach(); }

void TResultListView::Detach() {
  Detached_ = true;
  if (Model_) Model_->Detach();
}

void TResultListView::ApplyTableLayout() {
  if (Detached_) return;
  Applying_ = true;
  setFont(ScreenFont(Layout_.Font()));
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  const auto& columns = Layout_.Columns();
  for (std::size_t i = 0; i < columns.size() && int(i) < header()->count(); ++i) {
    if (header()->sectionSize(int(i)) != columns[i].Width) header()->resizeSection(int(i), columns[i].Width);
  }
  Applying_ = false;
}

void TResultListView::ColumnResized(int column, int /*oldSize*/, int newSize) {
  if (!Applying_ && !Detached_) Layout_.SetColumnWidth(std::size_t(column), newSize);
}

void TResultListView::RecordPlacement() {
  if (Detached_) return;
  // A result file records where the table stands and how big it is.
  Layout_.Left = x();
  Layout_.Top = y();
  Layout_.Width = width();
  Layout_.Height = height();
}

void TResultListView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  RecordPlacement();
}

void TResultListView::moveEvent(QMoveEvent* event) {
  QTableView::moveEvent(event);
  RecordPlacement();
}

}  // namespace vt
