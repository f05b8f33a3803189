#include "ui/ErrorReasons.h"

#include <QAbstractItemModel>
#include <cerrno>

#include "engine/RenameStep.h"

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
  if (systemError == kHidingName) {
    Reasons_.insert(int(row), QStringLiteral("The new name begins with \".\" and would hide the file"));
    return;
  }
  if (systemError == ENODATA) {
    Reasons_.insert(int(row), QStringLiteral("The file lacks a field the new name needs"));
    return;
  }
  Reasons_.insert(int(row), systemError == kPatternTooCostly
                                ? QStringLiteral("The regular expression reached its match limit on this name")
                                : qt_error_string(systemError));
}

}  // namespace vt
