#pragma once
// The six operation settings pages (PageCtrlSettings), one per operation of
// the operation table, each found by its operation. They own their controls and handle them:
// the fields each drop-down or check box shows and hides, and the key rules of
// the text and number fields. To the window they are the values a pass and its
// checks read, and the field a refused check points at.
#include <QStackedWidget>
#include <memory>
#include <utility>
#include <vector>

#include "engine/InputRules.h"
#include "engine/RenameSettings.h"
#include "engine/SettingsChecks.h"
#include "ui/InputFilters.h"
#include "ui/SettingsPagesControls.h"

class QLineEdit;

namespace vt {

class TInputFilters;
class TSettingsPanels;

class TSettingsPages : public QStackedWidget {
 public:
  explicit TSettingsPages(QWidget* parent = nullptr);
  ~TSettingsPages() override;

  // The settings controls' values; the operation is the operation list's.
  TControlValues Values() const;
  // The page of the operation list's item row; none for no selection (-1).
  void ShowOperationPage(int row);
  // The operation list's items, in the order of the operation table.
  static QStringList OperationItems();
  // The field a refused check names, focused.
  void FocusCheckedField(TCheckedField field);
  // The focusable fields, page by page, top-down.
  std::vector<QWidget*> FocusOrder() const;
  // "Use fields": the text to insert lets the characters of a field through.
  void SetUseFields(bool useFields);

 private:
  QWidget* AddOperationPage(TOperation operation, const char* name);
  void BuildSearchPage();
  void BuildInsertPage();
  void BuildDeletePage();
  void BuildNumberPage();
  void BuildCaseSensitivePage();
  void BuildTruncatePage();
  void ConnectHandlers();
  void ConnectInputFilters();
  TUpDown* NumberFieldArrows(const QLineEdit* field) const;

  // Handlers
  void ComboInsertToChange();
  void ComboItemToDeleteChange();
  void ComboDeleteFromChange();
  void ComboNumberInsertToChange();
  void ComboTruncateToChange();
  void ChkBxUseBaseFilenameClick();
  void ChkBxRegexClick();
  // What the search field accepts: a wildcard pattern, or a regular expression.
  TTextField SearchField() const;
  // Typed characters (key 0 drops one) and released keys of the fields.
  void ValidateCharKeyPress(QLineEdit* sender, char32_t& key);
  void ValideKeyPress(QLineEdit* sender, char32_t& key);
  void EdDeleteKeyPress(QLineEdit* sender, char32_t& key);
  void ValidateKeyUp(QLineEdit* sender, int key);
  void EdNumberKeyPress(QLineEdit* sender, char32_t& key);
  void EdNumberKeyUp(QLineEdit* sender, int key);

  TSettingsPagesControls Ui_;
  std::vector<std::pair<TOperation, QWidget*>> Pages_;
  std::unique_ptr<TSettingsPanels> Panels_;
  TInputFilters* InputFilters_ = nullptr;
  TFieldChars FieldChars_ = TFieldChars::Literal;
};

}  // namespace vt
