#pragma once
// The record a recover pass builds from one result row.
#include <string>
#include <vector>

namespace vt {

struct TUndoProcessList {
  std::string Path;         // "Path" cell
  std::string NewFileName;  // "New Name" cell
  std::string OldFileName;  // "File" cell
  std::string StatusText;   // "Status" cell
};

using TUndoList = std::vector<TUndoProcessList>;

}  // namespace vt
