#include "ui/ResultTableModel.h"

#include <QFile>
#include <QGuiApplication>
#include <QPalette>

#include "ui/NameBytes.h"
#include "ui/PaletteColours.h"

namespace vt {
namespace {

// A cell's bytes as the names of the file system are decoded.
QString CellText(std::string_view bytes) {
  return QFile::decodeName(QByteArray(bytes.data(), qsizetype(bytes.size())));
}

}  // namespace

QColor ScreenColor(std::uint32_t color) { return RowTextColor(color, QGuiApplication::palette()); }

QFont ScreenFont(const TResultFont& font) {
  QFont screen(QString::fromStdString(font.Name));
  screen.setStyleHint(QFont::SansSerif);
  // A negative height is the character height, a positive one the cell height;
  // both come near enough to a pixel size.
  screen.setPixelSize(std::max(1, std::abs(font.Height)));
  screen.setBold(font.Style & FontStyle::Bold);
  screen.setItalic(font.Style & FontStyle::Italic);
  screen.setUnderline(font.Style & FontStyle::Underline);
  screen.setStrikeOut(font.Style & FontStyle::StrikeOut);
  return screen;
}

TResultTableModel::TResultTableModel(TResultTable& table, TResultLayout& layout, QObject* parent)
    : QAbstractTableModel(parent),
      Table_(table),
      Layout_(layout),
      Rows_(int(table.RowCount())),
      Columns_(int(layout.Columns().size())) {
  Table_.SetObserver(this);
  Layout_.SetObserver(this);
}

TResultTableModel::~TResultTableModel() { Detach(); }

void TResultTableModel::Detach() {
  if (!Attached_) return;
  Table_.SetObserver(nullptr);
  Layout_.SetObserver(nullptr);
  // The views may still ask for data while they go (a window closing as it is
  // destroyed lays them out): they see an empty table, never the one that is gone.
  beginResetModel();
  Attached_ = false;
  Rows_ = 0;
  Columns_ = 0;
  endResetModel();
}

int TResultTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Rows_; }

int TResultTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Columns_; }

QVariant TResultTableModel::data(const QModelIndex& index, int role) const {
  if (!Attached_ || !index.isValid() || index.row() >= int(Table_.RowCount())) return {};
  const TResultRow& row = Table_.Row(std::size_t(index.row()));
  switch (role) {
    case Qt::DisplayRole: return CellText(row.Cell(std::size_t(index.column())));
    case Qt::ForegroundRole: return ScreenColor(Layout_.Font().Color);
    default: return {};
  }
}

QVariant TResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (!Attached_ || section < 0 || section >= int(Layout_.Columns().size())) return {};
  return NameText(Layout_.Columns()[std::size_t(section)].Caption);
}

Qt::ItemFlags TResultTableModel::flags(const QModelIndex& index) const {
  // Rows can be selected but never edited in place.
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void TResultTableModel::RowsAppended(std::size_t first, std::size_t count) {
  if (count == 0) return;
  const int last = int(first + count) - 1;
  if (int(first) != Rows_) {
    // Not a plain append of what the views know: start them afresh.
    beginResetModel();
    Rows_ = int(Table_.RowCount());
    endResetModel();
    return;
  }
  beginInsertRows({}, Rows_, last);
  Rows_ = last + 1;
  endInsertRows();
}

void TResultTableModel::RowsCleared() {
  beginResetModel();
  Rows_ = int(Table_.RowCount());
  endResetModel();
}

void TResultTableModel::PassRowsStarted(TPassRows rows) {
  Layout_.SetTextColor(rows == TPassRows::Simulation ? TextColor::Gray : TextColor::Black);
}

void TResultTableModel::LayoutChanged() {
  const int columns = int(Layout_.Columns().size());
  if (columns != Columns_) {
    beginResetModel();
    Columns_ = columns;
    Rows_ = int(Table_.RowCount());
    endResetModel();
  } else {
    if (Columns_ > 0) emit headerDataChanged(Qt::Horizontal, 0, Columns_ - 1);
    if (Rows_ > 0 && Columns_ > 0) emit dataChanged(index(0, 0), index(Rows_ - 1, Columns_ - 1), {Qt::ForegroundRole});
  }
  emit TableLayoutChanged();
}

}  // namespace vt
