#include "ui/PreviewSwitch.h"

#include <QSettings>

namespace vt {
namespace {

const QString kKey = QStringLiteral("FileList/Preview");

QSettings UserSettings() { return QSettings(QStringLiteral("veltrane"), QStringLiteral("veltrane")); }

}  // namespace

bool PreviewWanted() { return UserSettings().value(kKey, false).toBool(); }

void RememberPreview(bool on) { UserSettings().setValue(kKey, on); }

}  // namespace vt
