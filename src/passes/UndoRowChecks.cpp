#include "passes/UndoRowChecks.h"

#include "platform/PathSeparator.h"

namespace vt {
namespace {

bool IsNameInFolder(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find(PathSeparator) == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

}  // namespace

bool PathMayBeCut(std::string_view path) { return path.size() >= kShortestCutText && path.size() <= kResultTextLimit; }

bool PathLostBySave(std::string_view path) { return path.size() >= kShortestCutText; }

TUndoRowFault CheckUndoRow(std::string_view path, std::string_view newName, std::string_view oldName) {
  if (path.empty() || path.front() != PathSeparator || path.find('\0') != std::string_view::npos)
    return TUndoRowFault::PathNotAbsolute;
  if (PathMayBeCut(path)) return TUndoRowFault::PathMayBeCut;
  if (!IsNameInFolder(newName) || !IsNameInFolder(oldName)) return TUndoRowFault::NameLeavesFolder;
  // A new name a pass made hidden (x.profile to .profile) is still undone.
  if (oldName.front() == '.') return TUndoRowFault::HiddenName;
  return TUndoRowFault::None;
}

}  // namespace vt
