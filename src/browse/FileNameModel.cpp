#include "browse/FileNameModel.h"

#include <utility>

#include "browse/NameBytes.h"

namespace vt {

TFileNameModel::TFileNameModel(QObject* parent)
    : QAbstractListModel(parent), Names_(std::make_shared<std::vector<std::string>>()) {}

int TFileNameModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(Names_->size()); }

const TFilePreview* TFileNameModel::PreviewOf(int row, std::size_t& at) const {
  if (row >= InViewFirst_ && std::size_t(row - InViewFirst_) < InView_.Size()) {
    at = std::size_t(row - InViewFirst_);
    return &InView_;
  }
  if (Whole_ != nullptr && std::size_t(row) < Whole_->Size()) {
    at = std::size_t(row);
    return Whole_.get();
  }
  return nullptr;
}

QVariant TFileNameModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= int(Names_->size())) return {};
  const std::string& name = (*Names_)[std::size_t(index.row())];
  if (role == Qt::DisplayRole) return NameText(name);
  std::size_t at = 0;
  const TFilePreview* preview = PreviewOf(index.row(), at);
  const TPreviewMark mark = preview != nullptr ? preview->Mark(at) : TPreviewMark::Same;
  switch (role) {
    case kPreviewMarkRole: return preview != nullptr ? QVariant(int(mark)) : QVariant();
    case kNewNameRole:
      return mark == TPreviewMark::Same ? QVariant() : QVariant(NameText(std::string(preview->NewName(at))));
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole: {
      if (mark == TPreviewMark::Same) return role == Qt::AccessibleTextRole ? QVariant(NameText(name)) : QVariant();
      QString text = NameText(name) + QStringLiteral(" \u2192 ") + NameText(std::string(preview->NewName(at)));
      const QString tip = preview->Tips.value(int(at));
      if (!tip.isEmpty()) text += QStringLiteral("\n") + tip;
      return text;
    }
    default: return {};
  }
}

std::vector<std::string> TFileNameModel::SetNames(std::vector<std::string> names) {
  beginResetModel();
  Whole_.reset();
  InView_ = TFilePreview();
  auto old = std::exchange(Names_, std::make_shared<std::vector<std::string>>(std::move(names)));
  endResetModel();
  // Still read by a preview under way: freed with its last reader.
  if (old.use_count() > 1) return {};
  return std::move(*old);
}

void TFileNameModel::PreviewChanged() {
  if (Names_->empty()) return;
  emit dataChanged(index(0), index(int(Names_->size()) - 1), {Qt::ToolTipRole, kNewNameRole, kPreviewMarkRole});
}

void TFileNameModel::SetPreviewInView(int first, TFilePreview rows) {
  InViewFirst_ = first;
  InView_ = std::move(rows);
  PreviewChanged();
}

void TFileNameModel::SetPreview(std::shared_ptr<const TFilePreview> preview) {
  Whole_ = preview != nullptr && preview->Size() == Names_->size() ? std::move(preview) : nullptr;
  InView_ = TFilePreview();
  PreviewChanged();
}

void TFileNameModel::ClearPreview() {
  if (!HasPreview()) return;
  Whole_.reset();
  InView_ = TFilePreview();
  PreviewChanged();
}

}  // namespace vt
