#include "ui/FollowNewestRows.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QScrollBar>

namespace vt {

TFollowNewestRows::TFollowNewestRows(QAbstractItemView& view) : QObject(&view), View_(view) {
  QAbstractItemModel* model = view.model();
  connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, [this] {
    const QScrollBar* bar = View_.verticalScrollBar();
    AtEnd_ = bar->value() == bar->maximum();
  });
  connect(model, &QAbstractItemModel::rowsInserted, this, [this] {
    if (AtEnd_) View_.scrollToBottom();
  });
}

}  // namespace vt
