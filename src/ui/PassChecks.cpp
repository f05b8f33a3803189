#include "ui/PassChecks.h"

#include <QComboBox>
#include <QLineEdit>

#include "ui/SettingsPagesControls.h"

namespace vt {

QWidget* CheckedFieldWidget(const TSettingsPagesControls& c, TCheckedField field) {
  switch (field) {
    case TCheckedField::None: return nullptr;
    case TCheckedField::EdSearchFor: return c.EdSearchFor;
    case TCheckedField::EdReplaceWith: return c.EdReplaceWith;
    case TCheckedField::EdInsert: return c.EdInsert;
    case TCheckedField::EdDelete: return c.EdDelete;
    case TCheckedField::EdNbrDelete: return c.EdNbrDelete;
    case TCheckedField::ComboBaseFileName: return c.ComboBaseFileName;
  }
  return nullptr;
}

}  // namespace vt
