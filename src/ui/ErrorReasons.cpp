#include "ui/ErrorReasons.h"

#include <QAbstractItemModel>
#include <cerrno>

#include "engine/RenameStep.h"

namespace vt {

QString VolumeRefusalText(int systemError) {
  switch (systemError) {
    case kVolumeRefusesChar:
      return QStringLiteral("The volume of this folder refuses a character of the new name (\" * : < > ? \\ | /)");
    case kVolumeRefusesControl:
      return QStringLiteral("The volume of this folder refuses a control character in the new name");
    case kVolumeRefusesEnd:
      return QStringLiteral("The volume of this folder refuses a name that ends with a dot or a space");
    case kVolumeRefusesLength:
      return QStringLiteral("The new name is longer than the volume of this folder allows (255)");
    default: return {};
  }
}

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
  if (const QString volume = VolumeRefusalText(systemError); !volume.isEmpty()) {
    Reasons_.insert(int(row), volume);
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
