#pragma once
// The window's control values for one operation, the rest at their defaults.
#include <string>

#include "engine/RenameSettings.h"

namespace vt::test {

inline TControlValues Operation(TOperation operation) {
  TControlValues c;
  c.LstBoxActions = ControlIndex(operation);
  return c;
}

inline TControlValues SearchReplace(const std::string& search, const std::string& replace) {
  TControlValues c = Operation(TOperation::SearchReplace);
  c.EdSearchFor = search;
  c.EdReplaceWith = replace;
  return c;
}

inline TControlValues InsertText(const std::string& text, TPlacement at = TPlacement::ToEnd) {
  TControlValues c = Operation(TOperation::Insert);
  c.EdInsert = text;
  c.ComboInsertTo = ControlIndex(at);
  return c;
}

inline TControlValues RemoveText(const std::string& text) {
  TControlValues c = Operation(TOperation::Remove);
  c.ComboItemToDelete = ControlIndex(TRemoveKind::String);
  c.EdDelete = text;
  return c;
}

inline TControlValues RemoveCount(int count, TRemoveFrom from = TRemoveFrom::Beginning) {
  TControlValues c = Operation(TOperation::Remove);
  c.ComboItemToDelete = ControlIndex(TRemoveKind::Characters);
  c.UpDownNbrDelete = count;
  c.ComboDeleteFrom = ControlIndex(from);
  return c;
}

// start as typed: its leading zeros set the width.
inline TControlValues Numbers(const std::string& start = "0") {
  TControlValues c = Operation(TOperation::Number);
  c.EdStartNumber = start;
  c.UpDownStartNumber = std::stoi(start);
  return c;
}

inline TControlValues CaseChange(int kind) {
  TControlValues c = Operation(TOperation::ChangeCase);
  c.ComboChangeCase = kind;
  return c;
}

inline TControlValues TruncateTo(int kind, int maxChars = 1) {
  TControlValues c = Operation(TOperation::Truncate);
  c.ComboTruncateTo = kind;
  c.UpDownNbrTruncate = maxChars;
  return c;
}

}  // namespace vt::test
