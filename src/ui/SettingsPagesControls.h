#pragma once
// The controls of the six operation settings pages, one pointer per control,
// named as the controls' objectNames. A plain holder, private to the settings
// pages, which build and own the widgets; the helpers that hold a page's rules
// (ControlValues, SettingsPanels, PassChecks) read it.

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace vt {

class TUpDown;

struct TSettingsPagesControls {
  // Settings page 0, Search/Replace
  QWidget* TabSheetSetSearch = nullptr;
  QLabel* Label3 = nullptr;
  QLineEdit* EdSearchFor = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* EdReplaceWith = nullptr;
  QCheckBox* ChkBxSearchInExt = nullptr;
  QCheckBox* ChkBxSearchRecursive = nullptr;
  QCheckBox* ChkBxCaseSensitive = nullptr;
  QCheckBox* ChkBxRegex = nullptr;

  // Settings page 1, Insert
  QWidget* TabSheetSetInsert = nullptr;
  QLabel* Label4 = nullptr;
  QLineEdit* EdInsert = nullptr;
  QComboBox* ComboInsertTo = nullptr;
  QLineEdit* EdInsertPos = nullptr;
  TUpDown* UpDownInsertPos = nullptr;

  // Settings page 2, Remove
  QWidget* TabSheetSetDelete = nullptr;
  QLabel* Label5 = nullptr;
  QComboBox* ComboItemToDelete = nullptr;
  QLineEdit* EdDelete = nullptr;
  QCheckBox* ChkBxDelRecursive = nullptr;
  QCheckBox* ChkBxCaseSensDel = nullptr;
  QLabel* LabelNnrDelete = nullptr;
  QLineEdit* EdNbrDelete = nullptr;
  TUpDown* UpDownNbrDelete = nullptr;
  QComboBox* ComboDeleteFrom = nullptr;
  QLineEdit* EdDeletePos = nullptr;
  TUpDown* UpDownDeletePos = nullptr;

  // Settings page 3, Number
  QWidget* TabSheetSetNumber = nullptr;
  QLabel* Label6 = nullptr;
  QLineEdit* EdStartNumber = nullptr;
  TUpDown* UpDownStartNumber = nullptr;
  QLabel* Label7 = nullptr;
  QLineEdit* EdIncrement = nullptr;
  TUpDown* UpDownIncrement = nullptr;
  QCheckBox* ChkBxUseBaseFilename = nullptr;
  QLabel* LblBaseFilename = nullptr;
  QComboBox* ComboBaseFileName = nullptr;
  QComboBox* ComboNumberInsertTo = nullptr;
  QLineEdit* EdNumberPos = nullptr;
  TUpDown* UpDownNumberPos = nullptr;
  QCheckBox* ChkBxUseLeadingZero = nullptr;
  QCheckBox* ChkBxDecrement = nullptr;

  // Settings page 4, Change Case
  QWidget* TabSheetSetCaseSensitive = nullptr;
  QLabel* Label8 = nullptr;
  QComboBox* ComboChangeCase = nullptr;
  QCheckBox* ChkBxChangecaseWithExt = nullptr;
  QCheckBox* ChkBxChangecaseExtOnly = nullptr;

  // Settings page 5, Truncate
  QWidget* TabSheetSetTruncate = nullptr;
  QLabel* Label9 = nullptr;
  QComboBox* ComboTruncateTo = nullptr;
  QLineEdit* EdNbrTruncate = nullptr;
  TUpDown* UpDownNbrTruncate = nullptr;
};

}  // namespace vt
