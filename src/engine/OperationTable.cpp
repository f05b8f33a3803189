#include "engine/OperationTable.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "engine/Utf8.h"

namespace vt {
namespace {

std::int16_t Int16(int value) {
  return static_cast<std::int16_t>(
      std::clamp<int>(value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

template <class T>
TSettingValue ToValue(const T& value) {
  if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, std::string>)
    return value;
  else
    return static_cast<int>(value);
}

template <class T>
T FromValue(const TSettingValue& value) {
  if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, std::string>)
    return std::get<T>(value);
  else if constexpr (std::is_enum_v<T>)
    return FromControlIndex<T>(std::get<int>(value));
  else if constexpr (std::is_same_v<T, std::int16_t>)
    return Int16(std::get<int>(value));
  else
    return static_cast<T>(std::get<int>(value));
}

// The field a path of members leads to: &TRenameSettings::ReplaceInfos, &TReplaceInfos::Regex.
template <auto... Path>
auto& FieldOf(TRenameSettings& settings) {
  return (settings.*....*Path);
}
template <auto... Path>
const auto& FieldOf(const TRenameSettings& settings) {
  return (settings.*....*Path);
}

template <auto Control, auto... Path>
constexpr TSettingRow Row(TOperation operation, std::string_view control) {
  using TControl = std::remove_cvref_t<decltype(std::declval<TControlValues&>().*Control)>;
  using TField = std::remove_cvref_t<decltype(FieldOf<Path...>(std::declval<TRenameSettings&>()))>;
  return {operation,
          control,
          [](const TControlValues& c) { return ToValue(c.*Control); },
          [](TControlValues& c, const TSettingValue& value) { c.*Control = FromValue<TControl>(value); },
          [](const TRenameSettings& s) { return ToValue(FieldOf<Path...>(s)); },
          [](TRenameSettings& s, const TSettingValue& value) { FieldOf<Path...>(s) = FromValue<TField>(value); }};
}

// The start as typed: its leading zeros set the number's width.
void SetStartText(TRenameSettings& s, const TSettingValue& value) {
  TNumberInfos& n = s.NumberInfos;
  n.StartText = std::get<std::string>(value);
  n.Width = Int16(static_cast<int>(std::min<std::size_t>(CharCount(n.StartText), 32767)));
  n.ZeroPad = n.StartText.find('0') == 0;
}

// The pass counts from the start.
void SetStart(TRenameSettings& s, const TSettingValue& value) {
  s.NumberInfos.Start = Int16(std::get<int>(value));
  s.Counter = s.NumberInfos.Start;
}

using TS = TRenameSettings;
using TC = TControlValues;
constexpr TOperation kReplace = TOperation::SearchReplace;
constexpr TOperation kInsert = TOperation::Insert;
constexpr TOperation kRemove = TOperation::Remove;
constexpr TOperation kNumber = TOperation::Number;
constexpr TOperation kCase = TOperation::ChangeCase;
constexpr TOperation kTruncate = TOperation::Truncate;

const std::array kOperations{
    TOperationRow{kReplace, "replace"}, TOperationRow{kInsert, "insert"}, TOperationRow{kRemove, "remove"},
    TOperationRow{kNumber, "number"},   TOperationRow{kCase, "case"},     TOperationRow{kTruncate, "truncate"},
};

const std::array kSettings{
    Row<&TC::EdSearchFor, &TS::ReplaceInfos, &TReplaceInfos::SearchFor>(kReplace, "EdSearchFor"),
    Row<&TC::EdReplaceWith, &TS::ReplaceInfos, &TReplaceInfos::ReplaceWith>(kReplace, "EdReplaceWith"),
    Row<&TC::ChkBxSearchRecursive, &TS::ReplaceInfos, &TReplaceInfos::Recursive>(kReplace, "ChkBxSearchRecursive"),
    Row<&TC::ChkBxCaseSensitive, &TS::ReplaceInfos, &TReplaceInfos::CaseSensitive>(kReplace, "ChkBxCaseSensitive"),
    Row<&TC::ChkBxSearchInExt, &TS::ReplaceInfos, &TReplaceInfos::TreatExtension>(kReplace, "ChkBxSearchInExt"),
    Row<&TC::ChkBxRegex, &TS::ReplaceInfos, &TReplaceInfos::Regex>(kReplace, "ChkBxRegex"),

    Row<&TC::EdInsert, &TS::InsertInfos, &TInsertInfos::Text>(kInsert, "EdInsert"),
    Row<&TC::ComboInsertTo, &TS::InsertInfos, &TInsertInfos::InsertTo>(kInsert, "ComboInsertTo"),
    Row<&TC::UpDownInsertPos, &TS::InsertInfos, &TInsertInfos::Position>(kInsert, "UpDownInsertPos"),
    Row<&TC::ChkBxUseFields, &TS::UseFields>(kInsert, "ChkBxUseFields"),

    Row<&TC::EdDelete, &TS::DeleteInfos, &TDeleteInfos::Text>(kRemove, "EdDelete"),
    Row<&TC::ComboItemToDelete, &TS::DeleteInfos, &TDeleteInfos::Kind>(kRemove, "ComboItemToDelete"),
    Row<&TC::UpDownDeletePos, &TS::DeleteInfos, &TDeleteInfos::Position>(kRemove, "UpDownDeletePos"),
    Row<&TC::UpDownNbrDelete, &TS::DeleteInfos, &TDeleteInfos::Count>(kRemove, "UpDownNbrDelete"),
    Row<&TC::ChkBxDelRecursive, &TS::DeleteInfos, &TDeleteInfos::Recursive>(kRemove, "ChkBxDelRecursive"),
    Row<&TC::ChkBxCaseSensDel, &TS::DeleteInfos, &TDeleteInfos::CaseSensitive>(kRemove, "ChkBxCaseSensDel"),
    Row<&TC::ComboDeleteFrom, &TS::DeleteInfos, &TDeleteInfos::From>(kRemove, "ComboDeleteFrom"),

    Row<&TC::ComboBaseFileName, &TS::NumberInfos, &TNumberInfos::BaseName>(kNumber, "ComboBaseFileName"),
    Row<&TC::ChkBxUseBaseFilename, &TS::NumberInfos, &TNumberInfos::UseBaseName>(kNumber, "ChkBxUseBaseFilename"),
    TSettingRow{kNumber, "EdStartNumber", [](const TC& c) { return TSettingValue(c.EdStartNumber); },
                [](TC& c, const TSettingValue& value) { c.EdStartNumber = std::get<std::string>(value); },
                [](const TS& s) { return TSettingValue(s.NumberInfos.StartText); }, SetStartText},
    TSettingRow{kNumber, "UpDownStartNumber", [](const TC& c) { return TSettingValue(c.UpDownStartNumber); },
                [](TC& c, const TSettingValue& value) { c.UpDownStartNumber = std::get<int>(value); },
                [](const TS& s) { return TSettingValue(static_cast<int>(s.NumberInfos.Start)); }, SetStart},
    Row<&TC::UpDownIncrement, &TS::NumberInfos, &TNumberInfos::Increment>(kNumber, "UpDownIncrement"),
    Row<&TC::ChkBxUseLeadingZero, &TS::NumberInfos, &TNumberInfos::UseLeadingZero>(kNumber, "ChkBxUseLeadingZero"),
    Row<&TC::ChkBxDecrement, &TS::NumberInfos, &TNumberInfos::CountBackwards>(kNumber, "ChkBxDecrement"),
    Row<&TC::ComboNumberInsertTo, &TS::NumberInfos, &TNumberInfos::InsertTo>(kNumber, "ComboNumberInsertTo"),
    Row<&TC::UpDownNumberPos, &TS::NumberInfos, &TNumberInfos::Position>(kNumber, "UpDownNumberPos"),
    Row<&TC::ChkBxUseFields, &TS::UseFields>(kNumber, "ChkBxUseFields"),

    Row<&TC::ComboChangeCase, &TS::CaseKind>(kCase, "ComboChangeCase"),
    Row<&TC::ChkBxChangecaseWithExt, &TS::CaseWithExtension>(kCase, "ChkBxChangecaseWithExt"),
    Row<&TC::ChkBxChangecaseExtOnly, &TS::CaseExtensionOnly>(kCase, "ChkBxChangecaseExtOnly"),

    Row<&TC::ComboTruncateTo, &TS::TruncateKind>(kTruncate, "ComboTruncateTo"),
    Row<&TC::UpDownNbrTruncate, &TS::MaxChars>(kTruncate, "UpDownNbrTruncate"),
};

}  // namespace

std::span<const TOperationRow> OperationRows() { return kOperations; }
std::span<const TSettingRow> SettingRows() { return kSettings; }

std::optional<TOperation> OperationAtRow(int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= kOperations.size()) return std::nullopt;
  return kOperations[static_cast<std::size_t>(row)].Operation;
}

const TOperationRow* FindOperation(std::string_view word) {
  const auto* found = std::find_if(kOperations.begin(), kOperations.end(),
                                   [word](const TOperationRow& row) { return row.Word == word; });
  return found == kOperations.end() ? nullptr : found;
}

const TSettingRow* FindSetting(TOperation operation, std::string_view control) {
  const auto* found = std::find_if(kSettings.begin(), kSettings.end(), [&](const TSettingRow& row) {
    return row.Operation == operation && row.Control == control;
  });
  return found == kSettings.end() ? nullptr : found;
}

TRenameSettings DefaultSettings(TOperation operation) {
  TControlValues defaults;
  defaults.LstBoxActions = ChoiceValue(operation);
  return CaptureSettings(defaults);
}

TControlValues ControlValuesFor(const TRenameSettings& settings) {
  TControlValues c;
  c.LstBoxActions = ChoiceValue(settings.Operation);
  for (const TSettingRow& row : kSettings)
    if (row.Operation == settings.Operation) row.Write(c, row.Get(settings));
  return c;
}

}  // namespace vt
