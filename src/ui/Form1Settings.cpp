// The window's handlers for its settings pages and the checks before a pass.
// Each hands the work to the piece that holds the rule.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include "engine/InputRules.h"
#include "ui/Form1.h"
#include "ui/Form1RunControl.h"
#include "ui/InputFilters.h"
#include "ui/MessageBoxes.h"
#include "ui/PassChecks.h"
#include "ui/SettingsPanels.h"
#include "ui/UpDown.h"

namespace vt {

void TForm1::ConnectSettingsHandlers() {
  Panels_ = std::make_unique<TSettingsPanels>(static_cast<const TControlPageControls&>(*this),
                                              static_cast<const TSettingsPagesControls&>(*this));
  connect(LstBoxActions, &QListWidget::currentRowChanged, this, &TForm1::LstBoxActionsClick);
  const auto onChange = [this](QComboBox* combo, void (TForm1::*handler)()) {
    connect(combo, &QComboBox::currentIndexChanged, this, handler);
  };
  onChange(ComboInsertTo, &TForm1::ComboInsertToChange);
  onChange(ComboItemToDelete, &TForm1::ComboItemToDeleteChange);
  onChange(ComboDeleteFrom, &TForm1::ComboDeleteFromChange);
  onChange(ComboNumberInsertTo, &TForm1::ComboNumberInsertToChange);
  onChange(ComboTruncateTo, &TForm1::ComboTruncateToChange);
  connect(ChkBxUseBaseFilename, &QCheckBox::toggled, this, &TForm1::ChkBxUseBaseFilenameClick);

  using namespace std::placeholders;
  InputFilters_ = new TInputFilters(this);
  const auto handler = [this](auto method) { return std::bind(method, this, _1, _2); };
  const auto pastedText = [this](TTextField field) {
    return [this, field](QLineEdit* sender, const QString&) {
      FilterPastedText(field, sender);
      if (sender == EdSearchFor) ValidateKeyUp(sender, 0);
    };
  };
  // Pasted text that brings a dot into the search pattern counts as a typed dot.
  InputFilters_->Watch(EdSearchFor, handler(&TForm1::ValidateCharKeyPress), handler(&TForm1::ValidateKeyUp),
                       [this, pastedText](QLineEdit* sender, const QString& before) {
                         if (sender->text().count('.') > before.count('.')) {
                           char32_t dot = U'.';
                           ValidateCharKeyPress(sender, dot);
                         }
                         pastedText(TTextField::Pattern)(sender, before);
                       });
  InputFilters_->Watch(EdReplaceWith, handler(&TForm1::ValidateCharKeyPress), {}, pastedText(TTextField::Pattern));
  InputFilters_->Watch(EdInsert, handler(&TForm1::ValideKeyPress), {}, pastedText(TTextField::InsertText));
  InputFilters_->Watch(EdDelete, handler(&TForm1::EdDeleteKeyPress), {}, pastedText(TTextField::DeleteText));
  for (QLineEdit* number :
       {EdInsertPos, EdNbrDelete, EdDeletePos, EdStartNumber, EdIncrement, EdNumberPos, EdNbrTruncate}) {
    InputFilters_->Watch(number, handler(&TForm1::EdNumberKeyPress), handler(&TForm1::EdNumberKeyUp),
                         [this](QLineEdit* sender, const QString& before) {
                           NumberFieldPaste(sender, NumberFieldArrows(sender), before);
                         });
  }
}

TUpDown* TForm1::NumberFieldArrows(const QLineEdit* field) const {
  for (TUpDown* arrows : {UpDownInsertPos, UpDownNbrDelete, UpDownDeletePos, UpDownStartNumber, UpDownIncrement,
                          UpDownNumberPos, UpDownNbrTruncate})
    if (arrows->Associate() == field) return arrows;
  return nullptr;
}

void TForm1::LstBoxActionsClick() { Panels_->ShowOperationPage(); }
void TForm1::ComboInsertToChange() { Panels_->Apply(ComboInsertTo); }
void TForm1::ComboItemToDeleteChange() { Panels_->Apply(ComboItemToDelete); }
void TForm1::ComboDeleteFromChange() { Panels_->Apply(ComboDeleteFrom); }
void TForm1::ComboNumberInsertToChange() { Panels_->Apply(ComboNumberInsertTo); }
void TForm1::ComboTruncateToChange() { Panels_->Apply(ComboTruncateTo); }
void TForm1::ChkBxUseBaseFilenameClick() { Panels_->Apply(ChkBxUseBaseFilename); }

void TForm1::ValidateCharKeyPress(QLineEdit* sender, char32_t& key) {
  FilterTypedChar(TTextField::Pattern, key);
  if (sender == EdSearchFor)
    ApplyExtensionChange(ExtensionOnCharTyped(key, ChkBxSearchInExt->isChecked()), ChkBxSearchInExt,
                         ChkBxSearchRecursive);
}

void TForm1::ValideKeyPress(QLineEdit*, char32_t& key) { FilterTypedChar(TTextField::InsertText, key); }

void TForm1::EdDeleteKeyPress(QLineEdit*, char32_t& key) { FilterTypedChar(TTextField::DeleteText, key); }

void TForm1::ValidateKeyUp(QLineEdit* sender, int) {
  ApplyExtensionChange(ExtensionOnKeyUp(sender->text().toStdString(), ChkBxSearchInExt->isChecked()), ChkBxSearchInExt,
                       ChkBxSearchRecursive);
}

void TForm1::EdNumberKeyPress(QLineEdit* sender, char32_t& key) {
  NumberFieldKeyPress(sender, NumberFieldArrows(sender), key);
}

void TForm1::EdNumberKeyUp(QLineEdit* sender, int key) { NumberFieldKeyUp(sender, NumberFieldArrows(sender), key); }

bool TForm1::CheckSettings() { return CheckSettingsInWindow(*this, *this, *this, ShowCheckMessage); }

void TForm1::BtRenameClick() {
  if (!CheckSettings()) return;
  RunControl_->BtRenameClick();
}

void TForm1::BtSimulClick() {
  if (!CheckSettings()) return;
  RunControl_->BtSimulClick();
}

}  // namespace vt
