#include "ui/ControlValues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "ui/NameBytes.h"
#include "ui/SettingsPagesControls.h"
#include "ui/UpDown.h"

namespace vt {
TControlValues ReadControlValues(const TSettingsPagesControls& c) {
  TControlValues v;
  v.EdSearchFor = NameBytes(c.EdSearchFor->text());
  v.EdReplaceWith = NameBytes(c.EdReplaceWith->text());
  v.ChkBxSearchRecursive = c.ChkBxSearchRecursive->isChecked();
  v.ChkBxCaseSensitive = c.ChkBxCaseSensitive->isChecked();
  v.ChkBxSearchInExt = c.ChkBxSearchInExt->isChecked();
  v.ChkBxRegex = c.ChkBxRegex->isChecked();
  v.EdInsert = NameBytes(c.EdInsert->text());
  v.ComboInsertTo = c.ComboInsertTo->currentIndex();
  v.UpDownInsertPos = c.UpDownInsertPos->Position();
  v.EdDelete = NameBytes(c.EdDelete->text());
  v.ComboItemToDelete = c.ComboItemToDelete->currentIndex();
  v.UpDownDeletePos = c.UpDownDeletePos->Position();
  v.UpDownNbrDelete = c.UpDownNbrDelete->Position();
  v.ChkBxDelRecursive = c.ChkBxDelRecursive->isChecked();
  v.ChkBxCaseSensDel = c.ChkBxCaseSensDel->isChecked();
  v.ComboDeleteFrom = c.ComboDeleteFrom->currentIndex();
  v.ComboBaseFileName = NameBytes(c.ComboBaseFileName->currentText());
  v.ChkBxUseBaseFilename = c.ChkBxUseBaseFilename->isChecked();
  v.EdStartNumber = NameBytes(c.EdStartNumber->text());
  v.UpDownStartNumber = c.UpDownStartNumber->Position();
  v.UpDownIncrement = c.UpDownIncrement->Position();
  v.ChkBxUseLeadingZero = c.ChkBxUseLeadingZero->isChecked();
  v.ChkBxDecrement = c.ChkBxDecrement->isChecked();
  v.ComboNumberInsertTo = c.ComboNumberInsertTo->currentIndex();
  v.UpDownNumberPos = c.UpDownNumberPos->Position();
  v.ComboChangeCase = c.ComboChangeCase->currentIndex();
  v.ChkBxChangecaseWithExt = c.ChkBxChangecaseWithExt->isChecked();
  v.ChkBxChangecaseExtOnly = c.ChkBxChangecaseExtOnly->isChecked();
  v.ComboTruncateTo = c.ComboTruncateTo->currentIndex();
  v.UpDownNbrTruncate = c.UpDownNbrTruncate->Position();
  return v;
}

}  // namespace vt
