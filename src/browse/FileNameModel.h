#pragma once
// The names of the file list, kept as bytes; texts are made only for the rows shown.
#include <QAbstractListModel>
#include <string>
#include <vector>

namespace vt {

class TFileNameModel : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  // Gives back the names shown before, for the caller to free where it suits.
  std::vector<std::string> SetNames(std::vector<std::string> names);
  const std::vector<std::string>& Names() const { return Names_; }

 private:
  std::vector<std::string> Names_;
};

}  // namespace vt
