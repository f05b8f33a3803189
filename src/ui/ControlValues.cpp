#include "ui/ControlValues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "engine/OperationTable.h"
#include "ui/NameBytes.h"
#include "ui/UpDown.h"

namespace vt {
namespace {

// The value of a control of the kind the setting takes: a drop-down list gives
// its item for a choice and its text for a text.
std::optional<TSettingValue> ReadControl(const QWidget& control, const TSettingValue& kind) {
  if (const auto* box = qobject_cast<const QCheckBox*>(&control)) return box->isChecked();
  if (const auto* edit = qobject_cast<const QLineEdit*>(&control)) return NameBytes(edit->text());
  if (const auto* upDown = qobject_cast<const TUpDown*>(&control)) return upDown->Position();
  if (const auto* combo = qobject_cast<const QComboBox*>(&control)) {
    if (std::holds_alternative<std::string>(kind)) return NameBytes(combo->currentText());
    return combo->currentIndex();
  }
  return std::nullopt;
}

}  // namespace

TControlValues ReadControlValues(const QWidget& pages) {
  TControlValues values;
  const TControlValues defaults;
  for (const TSettingRow& row : SettingRows()) {
    const auto* control = pages.findChild<const QWidget*>(
        QString::fromLatin1(row.Control.data(), static_cast<qsizetype>(row.Control.size())));
    if (control == nullptr) continue;
    const TSettingValue kind = row.Read(defaults);
    std::optional<TSettingValue> value = ReadControl(*control, kind);
    if (value && value->index() == kind.index()) row.Write(values, *value);
  }
  return values;
}

}  // namespace vt
