#include "browse/FileNameModel.h"

#include "browse/NameOrder.h"

namespace vt {

int TFileNameModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(names_.size());
}

QVariant TFileNameModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= int(names_.size())) return {};
  if (role == Qt::DisplayRole) return ToQString(names_[std::size_t(index.row())]);
  return {};
}

void TFileNameModel::SetNames(std::vector<std::string> names) {
  beginResetModel();
  names_.swap(names);
  endResetModel();
}

}  // namespace vt
