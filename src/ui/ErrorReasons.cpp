#include "ui/ErrorReasons.h"

#include <QAbstractItemModel>
#include <cerrno>

namespace vt {

QString ErrorCountText(int errors) {
  return errors == 1 ? QStringLiteral("1 error") : QStringLiteral("%1 errors").arg(errors);
}

TErrorReasons::TErrorReasons(QAbstractItemModel& model) : QObject(&model) {
  connect(&model, &QAbstractItemModel::modelReset, this, [this] { Reasons_.clear(); });
  connect(&model, &QAbstractItemModel::rowsRemoved, this, [this] { Reasons_.clear(); });
}

void TErrorReasons::Note(std::size_t row, TRenameStatus status, int systemError) {
  if (status != TRenameStatus::rsError || systemError == 0) return;
  Reasons_.insert(int(row), systemError == ENODATA ? QStringLiteral("The file lacks a field the new name needs")
                                                   : qt_error_string(systemError));
}

}  // namespace vt
