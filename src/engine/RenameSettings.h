#pragma once
// The settings snapshot a pass works from, captured once when the pass is created.
#include <cstdint>
#include <string>

#include "engine/SettingsIndexes.h"

namespace vt {

struct TReplaceInfos {
  std::string SearchFor;
  std::string ReplaceWith;
  bool Recursive = false;
  bool CaseSensitive = false;
  bool TreatExtension = false;
  bool Regex = false;  // SearchFor is a regular expression, ReplaceWith its replacement

  bool operator==(const TReplaceInfos&) const = default;
};

struct TInsertInfos {
  std::string Text;
  TPlacement InsertTo = TPlacement::ToEnd;
  std::int16_t Position = 0;

  bool operator==(const TInsertInfos&) const = default;
};

struct TDeleteInfos {
  std::string Text;
  TRemoveKind Kind = TRemoveKind::String;
  std::int16_t Position = 0;
  std::int16_t Count = 0;
  bool Recursive = false;
  bool CaseSensitive = false;
  TRemoveFrom From = TRemoveFrom::Beginning;

  bool operator==(const TDeleteInfos&) const = default;
};

struct TNumberInfos {
  std::string BaseName;
  bool UseBaseName = false;
  std::string StartText;
  std::int16_t Width = 0;
  bool ZeroPad = false;
  std::int16_t Start = 0;
  std::int32_t Increment = 0;
  bool UseLeadingZero = false;
  bool CountBackwards = false;
  TPlacement InsertTo = TPlacement::ToEnd;
  std::int16_t Position = 0;

  bool operator==(const TNumberInfos&) const = default;
};

// Everything but the selected operation's fields stays zero, empty or false.
struct TRenameSettings {
  TOperation Operation = TOperation::SearchReplace;
  TReplaceInfos ReplaceInfos;
  TInsertInfos InsertInfos;
  TDeleteInfos DeleteInfos;
  TNumberInfos NumberInfos;
  std::int32_t Counter = 0;
  TCaseKind CaseKind = TCaseKind::Upper;
  bool CaseWithExtension = false;
  bool CaseExtensionOnly = false;  // the extension alone changes; the name part stays
  TTruncateKind TruncateKind = TTruncateKind::ShortName;
  std::int16_t MaxChars = 0;
  // Insert's text and Number's base name hold fields ("{taken}") to fill in per file.
  bool UseFields = false;

  bool operator==(const TRenameSettings&) const = default;
};

// The values of the window's controls, as the window, the command line and the
// tests all fill them. Indexes are -1 when nothing is selected; the defaults are
// the window's defaults.
struct TControlValues {
  int LstBoxActions = 0;
  // Search/Replace
  std::string EdSearchFor;
  std::string EdReplaceWith;
  bool ChkBxSearchRecursive = false;
  bool ChkBxCaseSensitive = false;
  bool ChkBxSearchInExt = false;
  bool ChkBxRegex = false;
  // Insert
  std::string EdInsert;
  int ComboInsertTo = 0;
  int UpDownInsertPos = 1;
  // Remove
  std::string EdDelete;
  int ComboItemToDelete = 0;
  int UpDownDeletePos = 1;
  int UpDownNbrDelete = 0;
  bool ChkBxDelRecursive = false;
  bool ChkBxCaseSensDel = false;
  int ComboDeleteFrom = 0;
  // Number
  std::string ComboBaseFileName;
  bool ChkBxUseBaseFilename = false;
  std::string EdStartNumber = "0";
  int UpDownStartNumber = 0;
  int UpDownIncrement = 1;
  bool ChkBxUseLeadingZero = false;
  bool ChkBxDecrement = false;
  int ComboNumberInsertTo = 0;
  int UpDownNumberPos = 1;
  // Change Case
  int ComboChangeCase = 0;
  bool ChkBxChangecaseWithExt = true;
  bool ChkBxChangecaseExtOnly = false;
  // Truncate
  int ComboTruncateTo = 0;
  int UpDownNbrTruncate = 1;
  // Insert and Number: "Use fields"
  bool ChkBxUseFields = false;
};

TRenameSettings CaptureSettings(const TControlValues& controls);

}  // namespace vt
