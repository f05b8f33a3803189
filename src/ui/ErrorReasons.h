#pragma once
// Why each row of a pass failed: the system's message for every row whose
// rename the system refused, by row, as the pass tells it before the row comes.
#include <QHash>
#include <QObject>
#include <QString>
#include <cstddef>

#include "engine/RenameStatus.h"

class QAbstractItemModel;

namespace vt {

// "3 errors", "1 error".
QString ErrorCountText(int errors);
// Why the volume of a row's folder refuses its new name; empty for any other error.
QString VolumeRefusalText(int systemError);

class TErrorReasons : public QObject {
 public:
  // Forgets its reasons whenever the rows of model are emptied or replaced.
  explicit TErrorReasons(QAbstractItemModel& model);

  // The row about to be appended at index row.
  void Note(std::size_t row, TRenameStatus status, int systemError);
  const QHash<int, QString>& Reasons() const { return Reasons_; }
  int Count() const { return int(Reasons_.size()); }

 private:
  QHash<int, QString> Reasons_;
};

}  // namespace vt
