#pragma once
// The result table as a Qt item model, following the table and its layout
// through their observers. The rows' words and colours are made here.
#include <QAbstractTableModel>
#include <QColor>
#include <QFont>

#include "passes/ResultTable.h"
#include "results/ResultLayout.h"

namespace vt {

// A colour value of the table (0x00BBGGRR, as result files store it) on screen.
// Black and system colour values follow the palette's text colour.
QColor ScreenColor(std::uint32_t color);
QFont ScreenFont(const TResultFont& font);

class TResultTableModel : public QAbstractTableModel, public IResultTableObserver, public IResultLayoutObserver {
  Q_OBJECT
 public:
  TResultTableModel(TResultTable& table, TResultLayout& layout, QObject* parent = nullptr);
  ~TResultTableModel() override;

  TResultTable& Table() { return Table_; }
  const TResultTable& Table() const { return Table_; }
  TResultLayout& Layout() { return Layout_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  void RowsAppended(std::size_t first, std::size_t count) override;
  void RowsCleared() override;
  // A simulation's rows are grey, a real pass's black.
  void PassRowsStarted(TPassRows rows) override;
  void LayoutChanged() override;

  // The table and layout stop reporting to this model (they are going away first).
  void Detach();

 signals:
  // Columns, font or placement of the table changed.
  void TableLayoutChanged();

 private:
  TResultTable& Table_;
  TResultLayout& Layout_;
  bool Attached_ = true;
  int Rows_ = 0;     // rows the views have been told of
  int Columns_ = 0;  // columns the views have been told of
};

}  // namespace vt
