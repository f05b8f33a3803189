#include "browse/FileNameModel.h"

#include "browse/NameBytes.h"

namespace vt {

int TFileNameModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(Names_.size()); }

QVariant TFileNameModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= int(Names_.size())) return {};
  if (role == Qt::DisplayRole) return NameText(Names_[std::size_t(index.row())]);
  return {};
}

std::vector<std::string> TFileNameModel::SetNames(std::vector<std::string> names) {
  beginResetModel();
  Names_.swap(names);
  endResetModel();
  return names;
}

}  // namespace vt
