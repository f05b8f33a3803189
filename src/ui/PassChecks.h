#pragma once
// The checks before a Simulate or Rename pass, in the window: on a refusal the
// field to correct is focused. The settings themselves are left as the user
// made them.
#include "engine/SettingsChecks.h"

class QWidget;

namespace vt {

struct TSettingsPagesControls;

// The control of a field a check names; null for none.
QWidget* CheckedFieldWidget(const TSettingsPagesControls& settings, TCheckedField field);

}  // namespace vt
