#pragma once
// The settings pages' reactions to the user's choices, as one table: for each
// drop-down item (or check-box state), the controls shown, the controls hidden
// and the control that gets the focus. Hiding a field never changes its value.
#include <vector>

class QCheckBox;
class QComboBox;
class QObject;
class QWidget;

namespace vt {

struct TSettingsPagesControls;

struct TPanelRule {
  const QObject* Source;  // the drop-down, or the check box
  int Item;               // the item chosen; for a check box 1 checked, 0 not
  std::vector<QWidget*> Show;
  std::vector<QWidget*> Hide;
  QWidget* Focus = nullptr;
};

std::vector<TPanelRule> SettingsPanelRules(const TSettingsPagesControls& c);

class TSettingsPanels {
 public:
  explicit TSettingsPanels(const TSettingsPagesControls& settings);

  // The rule of the drop-down's current item; none without a selection.
  void Apply(const QComboBox* combo) const;
  void Apply(const QCheckBox* box) const;

 private:
  void Apply(const QObject* source, int item) const;

  std::vector<TPanelRule> Rules_;
};

}  // namespace vt
