#include "passes/UndoRowChecks.h"

#include <algorithm>

#include "passes/ChainPlan.h"
#include "platform/PathSeparator.h"

namespace vt {
namespace {

bool IsNameInFolder(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find(PathSeparator) == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool SameFoldedName(std::string_view one, std::string_view other) {
  return one.size() == other.size() &&
         std::equal(one.begin(), one.end(), other.begin(), [](char a, char b) { return FoldAscii(a) == FoldAscii(b); });
}

// FNV-1a over the folder, a NUL no path holds, and the name folded.
std::uint64_t FoldedFolderKey(std::string_view folder) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const char c : folder) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ULL;
  }
  return hash * 1099511628211ULL;  // the NUL: its xor changes nothing
}

std::uint64_t FoldedNameKeyIn(std::uint64_t folderKey, std::string_view name) {
  std::uint64_t hash = folderKey;
  for (const char c : name) {
    hash ^= static_cast<unsigned char>(FoldAscii(c));
    hash *= 1099511628211ULL;
  }
  return hash;
}

std::uint64_t FoldedNameKey(std::string_view folder, std::string_view name) {
  return FoldedNameKeyIn(FoldedFolderKey(folder), name);
}

bool PathMayBeCut(std::string_view path) { return path.size() >= kShortestCutText && path.size() <= kResultTextLimit; }

bool PathLostBySave(std::string_view path) { return path.size() >= kShortestCutText; }

TUndoRowFault CheckUndoRow(std::string_view path, std::string_view newName, std::string_view oldName,
                           TPathTexts texts) {
  if (path.empty() || path.front() != PathSeparator || path.find('\0') != std::string_view::npos)
    return TUndoRowFault::PathNotAbsolute;
  if (texts == TPathTexts::MayBeCut && PathMayBeCut(path)) return TUndoRowFault::PathMayBeCut;
  if (!IsNameInFolder(newName) || !IsNameInFolder(oldName)) return TUndoRowFault::NameLeavesFolder;
  // A new name a pass made hidden (x.profile to .profile) is still undone, and
  // so is a move out of a ring's temporary name: back into it, then on.
  if (oldName.front() == '.' && !IsRingTempName(oldName)) return TUndoRowFault::HiddenName;
  return TUndoRowFault::None;
}

}  // namespace vt
