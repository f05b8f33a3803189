#pragma once
// Every operation and every setting of one, described once: the window's
// control that shows the setting, the field of the settings records it fills,
// and the command line's name for the operation. The settings capture, the
// checks, the command line and the window's pages all read this table, so an
// option added here is known everywhere at once.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "engine/RenameSettings.h"

namespace vt {

// A setting's value on its way between a control, the command line and the
// settings records: a check box, a number (a list's choice as its enum's
// value) or a text.
using TSettingValue = std::variant<bool, int, std::string>;

// One setting of one operation and the control that shows it.
struct TSettingRow {
  TOperation Operation;
  std::string_view Control;  // the control's objectName
  TSettingValue (*Read)(const TControlValues&);
  void (*Write)(TControlValues&, const TSettingValue&);
  TSettingValue (*Get)(const TRenameSettings&);
  void (*Set)(TRenameSettings&, const TSettingValue&);
};

// One operation: its item of the window's list (and its settings page, in the
// same order) and its word on the command line.
struct TOperationRow {
  TOperation Operation;
  std::string_view Word;
};

// In the order of the window's list.
std::span<const TOperationRow> OperationRows();
std::span<const TSettingRow> SettingRows();

// The operation of an item of the window's list; none for no item (-1).
std::optional<TOperation> OperationAtRow(int row);
// The operation the command line calls word; none for a word it does not know.
const TOperationRow* FindOperation(std::string_view word);
// The row of control for operation; none where that operation has no such control.
const TSettingRow* FindSetting(TOperation operation, std::string_view control);

// The operation's settings as the window's defaults give them.
TRenameSettings DefaultSettings(TOperation operation);

// What the window's controls would hold for settings: the inverse of the capture.
TControlValues ControlValuesFor(const TRenameSettings& settings);

// A choice's value as a setting carries it.
template <class E>
constexpr int ChoiceValue(E value) {
  return static_cast<int>(value);
}

}  // namespace vt
