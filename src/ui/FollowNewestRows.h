#pragma once
// A list that shows its last row keeps showing the last row as rows are
// appended; one the user has scrolled up stays where it is.
#include <QObject>

class QAbstractItemView;

namespace vt {

class TFollowNewestRows : public QObject {
 public:
  explicit TFollowNewestRows(QAbstractItemView& view);

 private:
  bool AtEnd_ = true;
};

}  // namespace vt
