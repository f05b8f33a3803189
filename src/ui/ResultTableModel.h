#pragma once
// The result table as a Qt item model, following the table through its observer.
#include <QAbstractTableModel>
#include <QColor>
#include <QFont>

#include "passes/ResultTable.h"

namespace vt {

// A colour value of the table (0x00BBGGRR, as result files store it) on screen.
// Black and system colour values follow the palette's text colour.
QColor ScreenColor(std::uint32_t color);
QFont ScreenFont(const TResultFont& font);

class TResultTableModel : public QAbstractTableModel, public IResultTableObserver {
  Q_OBJECT
 public:
  explicit TResultTableModel(TResultTable& table, QObject* parent = nullptr);
  ~TResultTableModel() override;

  TResultTable& Table() { return Table_; }
  const TResultTable& Table() const { return Table_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  void RowsAppended(std::size_t first, std::size_t count) override;
  void RowsCleared() override;
  void LayoutChanged() override;

  // The table stops reporting to this model (the table is going away first).
  void Detach();

 signals:
  // Columns, font or placement of the table changed.
  void TableLayoutChanged();

 private:
  TResultTable& Table_;
  bool Attached_ = true;
  int Rows_ = 0;     // rows the views have been told of
  int Columns_ = 0;  // columns the views have been told of
};

}  // namespace vt
