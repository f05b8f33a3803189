#include "ui/PassChecks.h"

#include <QLineEdit>
#include <QTabWidget>

#include "ui/ControlValues.h"
#include "ui/Form1Controls.h"

namespace vt {

QWidget* CheckedFieldWidget(const TSettingsPagesControls& c, TCheckedField field) {
  switch (field) {
    case TCheckedField::None: return nullptr;
    case TCheckedField::EdSearchFor: return c.EdSearchFor;
    case TCheckedField::EdReplaceWith: return c.EdReplaceWith;
    case TCheckedField::EdInsert: return c.EdInsert;
    case TCheckedField::EdDelete: return c.EdDelete;
    case TCheckedField::EdNbrDelete: return c.EdNbrDelete;
  }
  return nullptr;
}

bool CheckSettingsInWindow(const TWindowControls& window, const TControlPageControls& page,
                           const TSettingsPagesControls& settings, const TShowMessage& show) {
  const TCheckOutcome outcome = CheckSettings(ReadControlValues(page, settings), show);
  if (outcome.MayStart) return true;
  window.PageControl1->setCurrentWidget(page.TabSheetControls);
  if (QWidget* field = CheckedFieldWidget(settings, outcome.Focus)) {
    // The box had the keyboard: give it back to the window, at the field.
    field->activateWindow();
    field->setFocus();
  }
  return false;
}

}  // namespace vt
