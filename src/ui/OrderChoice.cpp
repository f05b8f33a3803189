#include "ui/OrderChoice.h"

#include <QSettings>
#include <QStringList>

namespace vt {
namespace {

const QString kOrderKey = QStringLiteral("Options/Order");
const QString kReverseKey = QStringLiteral("Options/Reverse");
// As the command line's --order names them, in TFileOrder's order.
const QStringList kOrderNames = {QStringLiteral("name"), QStringLiteral("natural"), QStringLiteral("modified"),
                                 QStringLiteral("taken"), QStringLiteral("size")};

QSettings UserSettings() { return QSettings(QStringLiteral("veltrane"), QStringLiteral("veltrane")); }

}  // namespace

TOrderChoice RememberedOrder() {
  const QSettings settings = UserSettings();
  TOrderChoice choice;
  // A name this version does not know leaves the order by name.
  const auto order = kOrderNames.indexOf(settings.value(kOrderKey).toString());
  if (order > 0) choice.Order = static_cast<TFileOrder>(order);
  if (settings.value(kReverseKey, false).toBool()) choice.Direction = TOrderDirection::Descending;
  return choice;
}

void RememberOrder(const TOrderChoice& choice) {
  QSettings settings = UserSettings();
  settings.setValue(kOrderKey, kOrderNames.value(int(choice.Order)));
  settings.setValue(kReverseKey, choice.Direction == TOrderDirection::Descending);
}

}  // namespace vt
