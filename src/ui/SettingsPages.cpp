#include "ui/SettingsPages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <functional>

#include "engine/InputRules.h"
#include "engine/OperationTable.h"
#include "ui/ControlFactory.h"
#include "ui/ControlValues.h"
#include "ui/InputFilters.h"
#include "ui/PassChecks.h"
#include "ui/SettingsPanels.h"
#include "ui/UpDown.h"

namespace vt {
namespace {

// The list item of an operation.
QString OperationItem(TOperation operation) {
  switch (operation) {
    case TOperation::SearchReplace: return "Search/Replace";
    case TOperation::Insert: return "Insert";
    case TOperation::Remove: return "Remove";
    case TOperation::Number: return "Number";
    case TOperation::ChangeCase: return "Change Case";
    case TOperation::Truncate: return "Truncate";
  }
  return {};
}

}  // namespace

QStringList TSettingsPages::OperationItems() {
  QStringList items;
  for (const TOperationRow& row : OperationRows()) items.append(OperationItem(row.Operation));
  return items;
}

QWidget* TSettingsPages::AddOperationPage(TOperation operation, const char* name) {
  auto* page = new QWidget;
  page->setObjectName(name);
  addWidget(page);
  Pages_.emplace_back(operation, page);
  return page;
}

// One page per operation.
TSettingsPages::TSettingsPages(QWidget* parent) : QStackedWidget(parent) {
  setObjectName("PageCtrlSettings");
  BuildSearchPage();
  BuildInsertPage();
  BuildDeletePage();
  BuildNumberPage();
  BuildCaseSensitivePage();
  BuildTruncatePage();
  // Selections only: none of the show and hide rules run.
  for (QComboBox* combo : {Ui_.ComboInsertTo, Ui_.ComboItemToDelete, Ui_.ComboDeleteFrom, Ui_.ComboNumberInsertTo,
                           Ui_.ComboChangeCase, Ui_.ComboTruncateTo})
    combo->setCurrentIndex(0);
  setCurrentWidget(Ui_.TabSheetSetSearch);
  ConnectHandlers();
  ConnectInputFilters();
}

TSettingsPages::~TSettingsPages() = default;

void TSettingsPages::BuildSearchPage() {
  QWidget* page = Ui_.TabSheetSetSearch = AddOperationPage(TOperation::SearchReplace, "TabSheetSetSearch");
  Ui_.Label3 = MakeLabel(page, "Label3", "Search for :", 7, 1);
  Ui_.EdSearchFor = MakeEdit(page, "EdSearchFor", 7, 16, 195);
  Ui_.Label2 = MakeLabel(page, "Label2", "Replace with :", 7, 42);
  Ui_.EdReplaceWith = MakeEdit(page, "EdReplaceWith", 7, 56, 195);
  Ui_.ChkBxSearchInExt = MakeCheckBox(page, "ChkBxSearchInExt", "Treat file extension", 240, 18);
  Ui_.ChkBxSearchRecursive = MakeCheckBox(page, "ChkBxSearchRecursive", "Recursive", 240, 38);
  Ui_.ChkBxCaseSensitive = MakeCheckBox(page, "ChkBxCaseSensitive", "Case sensitive", 240, 58);
  // The one free row of the page is above the other three, which keep their places.
  Ui_.ChkBxRegex = MakeCheckBox(page, "ChkBxRegex", "Regular expression", 240, 0);
  Ui_.ChkBxRegex->resize(Ui_.ChkBxRegex->width(), std::min(Ui_.ChkBxRegex->height(), 18));
  Ui_.ChkBxRegex->setAccessibleName("Regular expression");
}

void TSettingsPages::BuildInsertPage() {
  QWidget* page = Ui_.TabSheetSetInsert = AddOperationPage(TOperation::Insert, "TabSheetSetInsert");
  Ui_.Label4 = MakeLabel(page, "Label4", "Insert :", 7, 1);
  Ui_.EdInsert = MakeEdit(page, "EdInsert", 7, 16, 195);
  Ui_.ComboInsertTo = MakeDropDown(
      page, "ComboInsertTo", {"To End", "At Beginning", "At Offset from Beginning ", "At Offset from End"}, 7, 56, 195);
  auto [edit, arrows] = MakeSpinField(page, "EdInsertPos", "UpDownInsertPos", 228, 56, 35, 1, 127, 1);
  Ui_.EdInsertPos = edit;
  Ui_.UpDownInsertPos = arrows;
  Ui_.EdInsertPos->hide();
  Ui_.UpDownInsertPos->hide();
}

void TSettingsPages::BuildDeletePage() {
  // The string controls and the count controls share the right half; one group shows at a time.
  QWidget* page = Ui_.TabSheetSetDelete = AddOperationPage(TOperation::Remove, "TabSheetSetDelete");
  Ui_.Label5 = MakeLabel(page, "Label5", "Remove :", 7, 1);
  Ui_.ComboItemToDelete = MakeDropDown(page, "ComboItemToDelete", {"String", "# of characters"}, 7, 16, 195);
  Ui_.EdDelete = MakeEdit(page, "EdDelete", 7, 56, 195);
  Ui_.ChkBxDelRecursive = MakeCheckBox(page, "ChkBxDelRecursive", "Recursive", 240, 38);
  Ui_.ChkBxCaseSensDel = MakeCheckBox(page, "ChkBxCaseSensDel", "Case sensitive", 240, 58);
  Ui_.LabelNnrDelete = MakeLabel(page, "LabelNnrDelete", "Characters to remove :", 218, 20);
  auto count = MakeSpinField(page, "EdNbrDelete", "UpDownNbrDelete", 392, 16, 27, 0, 127, 0);
  Ui_.EdNbrDelete = count.Edit;
  Ui_.UpDownNbrDelete = count.Arrows;
  Ui_.ComboDeleteFrom =
      MakeDropDown(page, "ComboDeleteFrom",
                   {"From Beginning", "From End", "From Offset from Beginning ", "From Offset from End"}, 218, 56, 167);
  auto position = MakeSpinField(page, "EdDeletePos", "UpDownDeletePos", 392, 56, 27, 1, 127, 1);
  Ui_.EdDeletePos = position.Edit;
  Ui_.UpDownDeletePos = position.Arrows;
  for (QWidget* hidden : std::initializer_list<QWidget*>{Ui_.LabelNnrDelete, Ui_.EdNbrDelete, Ui_.UpDownNbrDelete,
                                                         Ui_.ComboDeleteFrom, Ui_.EdDeletePos, Ui_.UpDownDeletePos})
    hidden->hide();
}

void TSettingsPages::BuildNumberPage() {
  QWidget* page = Ui_.TabSheetSetNumber = AddOperationPage(TOperation::Number, "TabSheetSetNumber");
  Ui_.Label6 = MakeLabel(page, "Label6", "Starting Number :", 8, 8);
  auto start = MakeSpinField(page, "EdStartNumber", "UpDownStartNumber", 110, 4, 49, 0, 32767, 0);
  Ui_.EdStartNumber = start.Edit;
  Ui_.UpDownStartNumber = start.Arrows;
  Ui_.Label7 = MakeLabel(page, "Label7", "Increment :", 8, 36);
  auto increment = MakeSpinField(page, "EdIncrement", "UpDownIncrement", 110, 32, 49, 1, 20, 1);
  Ui_.EdIncrement = increment.Edit;
  Ui_.UpDownIncrement = increment.Arrows;
  Ui_.ChkBxUseBaseFilename = MakeCheckBox(page, "ChkBxUseBaseFilename", "Use Base Name", 192, 4);
  Ui_.LblBaseFilename = MakeLabel(page, "LblBaseFilename", "Base Name :", 221, 28);
  Ui_.ComboBaseFileName = MakeEditableDropDown(page, "ComboBaseFileName", {"Original Name "}, 296, 26, 137);
  Ui_.ComboNumberInsertTo = MakeDropDown(
      page, "ComboNumberInsertTo",
      {"Append to End", "Insert at Beginning", "Insert at Offset from Beginning", "Insert at Offset from End"}, 196, 56,
      191);
  auto position = MakeSpinField(page, "EdNumberPos", "UpDownNumberPos", 392, 56, 27, 1, 127, 1);
  Ui_.EdNumberPos = position.Edit;
  Ui_.UpDownNumberPos = position.Arrows;
  // Never shown: its unchecked state is what a pass reads.
  Ui_.ChkBxUseLeadingZero = MakeCheckBox(page, "ChkBxUseLeadingZero", "Use Leading Zero's", 8, 60);
  Ui_.ChkBxDecrement = MakeCheckBox(page, "ChkBxDecrement", "Count Backwards", 91, 60);
  // Shares its row with the insert-to list once a base name is used.
  Ui_.ChkBxDecrement->resize(
      std::min(Ui_.ChkBxDecrement->width(), Ui_.ComboNumberInsertTo->x() - Ui_.ChkBxDecrement->x()),
      Ui_.ChkBxDecrement->height());
  for (QWidget* hidden :
       std::initializer_list<QWidget*>{Ui_.LblBaseFilename, Ui_.ComboBaseFileName, Ui_.ComboNumberInsertTo,
                                       Ui_.EdNumberPos, Ui_.UpDownNumberPos, Ui_.ChkBxUseLeadingZero})
    hidden->hide();
}

void TSettingsPages::BuildCaseSensitivePage() {
  QWidget* page = Ui_.TabSheetSetCaseSensitive = AddOperationPage(TOperation::ChangeCase, "TabSheetSetCaseSensitive");
  Ui_.Label8 = MakeLabel(page, "Label8", "Convert :", 7, 1);
  Ui_.ComboChangeCase = MakeDropDown(page, "ComboChangeCase",
                                     {"ALL UPPERCASE", "all lowercase", "FIRST UPPERCASE - Ignore Rest",
                                      "FIRST UPPERCASE - Rest lowercase", "wEiRd CaSe"},
                                     7, 16, 220);
  Ui_.ChkBxChangecaseWithExt = MakeCheckBox(page, "ChkBxChangecaseWithExt", "Treat file extension", 244, 18);
  Ui_.ChkBxChangecaseWithExt->setChecked(true);
  Ui_.ChkBxChangecaseExtOnly = MakeCheckBox(page, "ChkBxChangecaseExtOnly", "Extension only", 244, 38);
  Ui_.ChkBxChangecaseExtOnly->setAccessibleName("Extension only");
}

void TSettingsPages::BuildTruncatePage() {
  QWidget* page = Ui_.TabSheetSetTruncate = AddOperationPage(TOperation::Truncate, "TabSheetSetTruncate");
  Ui_.Label9 = MakeLabel(page, "Label9", "Truncate :", 7, 1);
  Ui_.ComboTruncateTo =
      MakeDropDown(page, "ComboTruncateTo", {"MS-DOS Short Name (8.3)", "Maximum # of characters of name"}, 7, 16, 195);
  auto count = MakeSpinField(page, "EdNbrTruncate", "UpDownNbrTruncate", 232, 16, 27, 1, 127, 1);
  Ui_.EdNbrTruncate = count.Edit;
  Ui_.UpDownNbrTruncate = count.Arrows;
  Ui_.EdNbrTruncate->hide();
  Ui_.UpDownNbrTruncate->hide();
}

TControlValues TSettingsPages::Values() const { return ReadControlValues(*this); }

void TSettingsPages::ShowOperationPage(int row) {
  const std::optional<TOperation> operation = OperationAtRow(row);
  if (!operation) return;
  for (const auto& [shown, page] : Pages_)
    if (shown == *operation) setCurrentWidget(page);
}

void TSettingsPages::FocusCheckedField(TCheckedField field) {
  if (QWidget* widget = CheckedFieldWidget(Ui_, field)) {
    // The box had the keyboard: give it back to the window, at the field.
    widget->activateWindow();
    widget->setFocus();
  }
}

std::vector<QWidget*> TSettingsPages::FocusOrder() const {
  return {Ui_.EdSearchFor,
          Ui_.EdReplaceWith,
          Ui_.ChkBxRegex,
          Ui_.ChkBxSearchInExt,
          Ui_.ChkBxSearchRecursive,
          Ui_.ChkBxCaseSensitive,
          Ui_.EdInsert,
          Ui_.ComboInsertTo,
          Ui_.EdInsertPos,
          Ui_.ComboItemToDelete,
          Ui_.EdDelete,
          Ui_.ChkBxDelRecursive,
          Ui_.ChkBxCaseSensDel,
          Ui_.EdNbrDelete,
          Ui_.ComboDeleteFrom,
          Ui_.EdDeletePos,
          Ui_.EdStartNumber,
          Ui_.EdIncrement,
          Ui_.ChkBxUseBaseFilename,
          Ui_.ComboBaseFileName,
          Ui_.ComboNumberInsertTo,
          Ui_.EdNumberPos,
          Ui_.ChkBxUseLeadingZero,
          Ui_.ChkBxDecrement,
          Ui_.ComboChangeCase,
          Ui_.ChkBxChangecaseWithExt,
          Ui_.ChkBxChangecaseExtOnly,
          Ui_.ComboTruncateTo,
          Ui_.EdNbrTruncate};
}

void TSettingsPages::ConnectHandlers() {
  Panels_ = std::make_unique<TSettingsPanels>(Ui_);
  const auto onChange = [this](QComboBox* combo, void (TSettingsPages::*handler)()) {
    connect(combo, &QComboBox::currentIndexChanged, this, handler);
  };
  onChange(Ui_.ComboInsertTo, &TSettingsPages::ComboInsertToChange);
  onChange(Ui_.ComboItemToDelete, &TSettingsPages::ComboItemToDeleteChange);
  onChange(Ui_.ComboDeleteFrom, &TSettingsPages::ComboDeleteFromChange);
  onChange(Ui_.ComboNumberInsertTo, &TSettingsPages::ComboNumberInsertToChange);
  onChange(Ui_.ComboTruncateTo, &TSettingsPages::ComboTruncateToChange);
  connect(Ui_.ChkBxUseBaseFilename, &QCheckBox::toggled, this, &TSettingsPages::ChkBxUseBaseFilenameClick);
  connect(Ui_.ChkBxRegex, &QCheckBox::toggled, this, &TSettingsPages::ChkBxRegexClick);
  // The extension alone is always treated: the box that says whether it is has no say.
  connect(Ui_.ChkBxChangecaseExtOnly, &QCheckBox::toggled, Ui_.ChkBxChangecaseWithExt, &QWidget::setDisabled);
}

void TSettingsPages::ConnectInputFilters() {
  using namespace std::placeholders;
  InputFilters_ = new TInputFilters(this);
  const auto handler = [this](auto method) { return std::bind(method, this, _1, _2); };
  const auto pastedText = [this](TTextField field) {
    return [this, field](QLineEdit* sender, const QString&) {
      FilterPastedText(field, sender);
      if (sender == Ui_.EdSearchFor) ValidateKeyUp(sender, 0);
    };
  };
  // Pasted text that brings a dot into the search pattern counts as a typed dot.
  InputFilters_->Watch(Ui_.EdSearchFor, handler(&TSettingsPages::ValidateCharKeyPress),
                       handler(&TSettingsPages::ValidateKeyUp),
                       [this, pastedText](QLineEdit* sender, const QString& before) {
                         if (sender->text().count('.') > before.count('.')) {
                           char32_t dot = U'.';
                           ValidateCharKeyPress(sender, dot);
                         }
                         pastedText(SearchField())(sender, before);
                       });
  InputFilters_->Watch(Ui_.EdReplaceWith, handler(&TSettingsPages::ValidateCharKeyPress), {},
                       pastedText(TTextField::Pattern));
  InputFilters_->Watch(
      Ui_.EdInsert, handler(&TSettingsPages::ValideKeyPress), {},
      [this](QLineEdit* sender, const QString&) { FilterPastedText(TTextField::InsertText, sender, FieldChars_); });
  InputFilters_->Watch(Ui_.EdDelete, handler(&TSettingsPages::EdDeleteKeyPress), {},
                       pastedText(TTextField::DeleteText));
  for (QLineEdit* number : {Ui_.EdInsertPos, Ui_.EdNbrDelete, Ui_.EdDeletePos, Ui_.EdStartNumber, Ui_.EdIncrement,
                            Ui_.EdNumberPos, Ui_.EdNbrTruncate}) {
    InputFilters_->Watch(number, handler(&TSettingsPages::EdNumberKeyPress), handler(&TSettingsPages::EdNumberKeyUp),
                         [this](QLineEdit* sender, const QString& before) {
                           NumberFieldPaste(sender, NumberFieldArrows(sender), before);
                         });
  }
}

TUpDown* TSettingsPages::NumberFieldArrows(const QLineEdit* field) const {
  for (TUpDown* arrows : {Ui_.UpDownInsertPos, Ui_.UpDownNbrDelete, Ui_.UpDownDeletePos, Ui_.UpDownStartNumber,
                          Ui_.UpDownIncrement, Ui_.UpDownNumberPos, Ui_.UpDownNbrTruncate})
    if (arrows->Associate() == field) return arrows;
  return nullptr;
}

void TSettingsPages::ComboInsertToChange() { Panels_->Apply(Ui_.ComboInsertTo); }
void TSettingsPages::ComboItemToDeleteChange() { Panels_->Apply(Ui_.ComboItemToDelete); }
void TSettingsPages::ComboDeleteFromChange() { Panels_->Apply(Ui_.ComboDeleteFrom); }
void TSettingsPages::ComboNumberInsertToChange() { Panels_->Apply(Ui_.ComboNumberInsertTo); }
void TSettingsPages::ComboTruncateToChange() { Panels_->Apply(Ui_.ComboTruncateTo); }
void TSettingsPages::ChkBxUseBaseFilenameClick() { Panels_->Apply(Ui_.ChkBxUseBaseFilename); }

// A dot is any character in a regular expression: it leaves "Treat file
// extension" alone, and Recursive stays usable. Back to wildcards, the search
// loses what a wildcard pattern cannot hold, and its dot counts again.
void TSettingsPages::ChkBxRegexClick() {
  if (Ui_.ChkBxRegex->isChecked()) {
    Ui_.ChkBxSearchRecursive->setEnabled(true);
    return;
  }
  FilterPastedText(TTextField::Pattern, Ui_.EdSearchFor);
  if (Ui_.EdSearchFor->text().contains('.'))
    ApplyExtensionChange(TExtensionChange::Check, Ui_.ChkBxSearchInExt, Ui_.ChkBxSearchRecursive);
}

TTextField TSettingsPages::SearchField() const {
  return Ui_.ChkBxRegex->isChecked() ? TTextField::Regex : TTextField::Pattern;
}

void TSettingsPages::ValidateCharKeyPress(QLineEdit* sender, char32_t& key) {
  if (sender == Ui_.EdSearchFor && SearchField() == TTextField::Regex) return;
  FilterTypedChar(TTextField::Pattern, key);
  if (sender == Ui_.EdSearchFor)
    ApplyExtensionChange(ExtensionOnCharTyped(key, Ui_.ChkBxSearchInExt->isChecked()), Ui_.ChkBxSearchInExt,
                         Ui_.ChkBxSearchRecursive);
}

void TSettingsPages::ValideKeyPress(QLineEdit* sender, char32_t& key) {
  FilterTypedChar(TTextField::InsertText, FieldChars_, sender, key);
}

void TSettingsPages::SetUseFields(bool useFields) {
  FieldChars_ = useFields ? TFieldChars::Fields : TFieldChars::Literal;
}

void TSettingsPages::EdDeleteKeyPress(QLineEdit*, char32_t& key) { FilterTypedChar(TTextField::DeleteText, key); }

void TSettingsPages::ValidateKeyUp(QLineEdit* sender, int) {
  if (SearchField() == TTextField::Regex) return;
  ApplyExtensionChange(ExtensionOnKeyUp(sender->text().toStdString(), Ui_.ChkBxSearchInExt->isChecked()),
                       Ui_.ChkBxSearchInExt, Ui_.ChkBxSearchRecursive);
}

void TSettingsPages::EdNumberKeyPress(QLineEdit* sender, char32_t& key) {
  NumberFieldKeyPress(sender, NumberFieldArrows(sender), key);
}

void TSettingsPages::EdNumberKeyUp(QLineEdit* sender, int key) {
  NumberFieldKeyUp(sender, NumberFieldArrows(sender), key);
}

}  // namespace vt
