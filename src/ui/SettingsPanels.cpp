#include "ui/SettingsPanels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "engine/SettingsIndexes.h"
#include "ui/SettingsPagesControls.h"
#include "ui/UpDown.h"

namespace vt {

std::vector<TPanelRule> SettingsPanelRules(const TSettingsPagesControls& c) {
  using W = std::vector<QWidget*>;
  const W insertPos{c.EdInsertPos, c.UpDownInsertPos};
  const W deleteText{c.EdDelete, c.ChkBxCaseSensDel, c.ChkBxDelRecursive};
  const W deleteCount{c.LabelNnrDelete, c.EdNbrDelete, c.UpDownNbrDelete, c.ComboDeleteFrom};
  const W deletePos{c.EdDeletePos, c.UpDownDeletePos};
  W deleteCountAndPos = deleteCount;
  deleteCountAndPos.insert(deleteCountAndPos.end(), deletePos.begin(), deletePos.end());
  const W numberPos{c.EdNumberPos, c.UpDownNumberPos};
  const W baseName{c.LblBaseFilename, c.ComboBaseFileName, c.ComboNumberInsertTo};
  const W truncateCount{c.EdNbrTruncate, c.UpDownNbrTruncate};
  const auto at = [](auto index) { return ControlIndex(index); };

  return {
      {c.ComboInsertTo, at(TPlacement::ToEnd), {}, insertPos, nullptr},
      {c.ComboInsertTo, at(TPlacement::AtBeginning), {}, insertPos, nullptr},
      {c.ComboInsertTo, at(TPlacement::FromBeginning), insertPos, {}, c.EdInsertPos},
      {c.ComboInsertTo, at(TPlacement::FromEnd), insertPos, {}, c.EdInsertPos},
      // The position field keeps its state when counting is chosen again.
      {c.ComboItemToDelete, at(TRemoveKind::String), deleteText, deleteCountAndPos, c.EdDelete},
      {c.ComboItemToDelete, at(TRemoveKind::Characters), deleteCount, deleteText, c.EdNbrDelete},
      {c.ComboDeleteFrom, at(TRemoveFrom::Beginning), {}, deletePos, nullptr},
      {c.ComboDeleteFrom, at(TRemoveFrom::End), {}, deletePos, nullptr},
      {c.ComboDeleteFrom, at(TRemoveFrom::OffsetFromBeginning), deletePos, {}, c.EdDeletePos},
      {c.ComboDeleteFrom, at(TRemoveFrom::OffsetFromEnd), deletePos, {}, c.EdDeletePos},
      {c.ComboNumberInsertTo, at(TPlacement::ToEnd), {}, numberPos, nullptr},
      {c.ComboNumberInsertTo, at(TPlacement::AtBeginning), {}, numberPos, nullptr},
      {c.ComboNumberInsertTo, at(TPlacement::FromBeginning), numberPos, {}, nullptr},
      {c.ComboNumberInsertTo, at(TPlacement::FromEnd), numberPos, {}, nullptr},
      // The number's position field is left as it is.
      {c.ChkBxUseBaseFilename, 1, baseName, {}, nullptr},
      {c.ChkBxUseBaseFilename, 0, {}, baseName, nullptr},
      {c.ComboTruncateTo, at(TTruncateKind::ShortName), {}, truncateCount, nullptr},
      {c.ComboTruncateTo, at(TTruncateKind::MaxChars), truncateCount, {}, nullptr},
  };
}

TSettingsPanels::TSettingsPanels(const TSettingsPagesControls& settings) : Rules_(SettingsPanelRules(settings)) {}

void TSettingsPanels::Apply(const QComboBox* combo) const { Apply(combo, combo->currentIndex()); }

void TSettingsPanels::Apply(const QCheckBox* box) const { Apply(box, box->isChecked() ? 1 : 0); }

void TSettingsPanels::Apply(const QObject* source, int item) const {
  for (const TPanelRule& rule : Rules_) {
    if (rule.Source != source || rule.Item != item) continue;
    for (QWidget* w : rule.Show) w->show();
    for (QWidget* w : rule.Hide) w->hide();
    if (rule.Focus) rule.Focus->setFocus();
  }
}

}  // namespace vt
