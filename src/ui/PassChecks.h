#pragma once
// The checks before a Simulate or Rename pass, in the window: each message in
// its box, and on a refusal the "Control" page shown with the field to correct
// focused. The settings themselves are left as the user made them.
#include "engine/SettingsChecks.h"

class QWidget;

namespace vt {

struct TControlPageControls;
struct TSettingsPagesControls;
struct TWindowControls;

QWidget* CheckedFieldWidget(const TSettingsPagesControls& settings, TCheckedField field);

// True lets the pass start.
bool CheckSettingsInWindow(const TWindowControls& window, const TControlPageControls& page,
                           const TSettingsPagesControls& settings, const TShowMessage& show);

}  // namespace vt
