#pragma once
// The names of the file list, kept as bytes; texts are made only for the rows shown.
// With a preview, each row also has the name a pass would give it: the rows in
// view come first, the whole list after.
#include <QAbstractListModel>
#include <memory>
#include <string>
#include <vector>

#include "browse/FilePreview.h"

namespace vt {

// Besides the name (display): the new name and the mark, for the delegate and
// for tests; tooltip and accessible text say both in words.
constexpr int kNewNameRole = Qt::UserRole + 1;
constexpr int kPreviewMarkRole = Qt::UserRole + 2;

class TFileNameModel : public QAbstractListModel {
 public:
  explicit TFileNameModel(QObject* parent = nullptr);
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  // Gives back the names shown before, for the caller to free where it suits;
  // nothing when a preview under way still reads them. Drops the preview.
  std::vector<std::string> SetNames(std::vector<std::string> names);
  const std::vector<std::string>& Names() const { return *Names_; }
  // Shared with whoever computes a preview off the window thread.
  std::shared_ptr<const std::vector<std::string>> SharedNames() const { return Names_; }

  // The rows from first on, for settings the whole list is not yet shown with.
  void SetPreviewInView(int first, TFilePreview rows);
  // The whole list's; it must have a row per name.
  void SetPreview(std::shared_ptr<const TFilePreview> preview);
  void ClearPreview();
  bool HasPreview() const { return Whole_ != nullptr || InView_.Size() > 0; }
  // The whole list's preview, once shown; null before.
  const TFilePreview* WholePreview() const { return Whole_.get(); }

 private:
  // The preview of a row and its row in it; null when there is none.
  const TFilePreview* PreviewOf(int row, std::size_t& at) const;
  void PreviewChanged();

  std::shared_ptr<std::vector<std::string>> Names_;
  std::shared_ptr<const TFilePreview> Whole_;
  TFilePreview InView_;
  int InViewFirst_ = 0;
};

}  // namespace vt
