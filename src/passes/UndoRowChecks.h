#pragma once
// What an "Ok" row must look like before Recover renames anything for it. A row
// may come from a result file of any origin, so Recover acts only where a pass
// could have acted.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vt {

enum class TUndoRowFault {
  None,
  PathNotAbsolute,   // every folder a pass records is absolute; a NUL would shorten it
  PathMayBeCut,      // a result file may have cut it: it may name another folder
  NameLeavesFolder,  // empty, ".", "..", or holding "/" or NUL
  HiddenName,        // no pass renames a hidden file, so none is renamed back to one
};

// A result file keeps at most this many bytes of a text, cut where no UTF-8
// character is split: a cut text is 3 bytes shorter at most.
inline constexpr std::size_t kResultTextLimit = 255;
inline constexpr std::size_t kShortestCutText = kResultTextLimit - 3;

// True for a Path that a result file may have shortened. Longer paths never
// went through a file, so they are as the pass wrote them.
bool PathMayBeCut(std::string_view path);
// True for a Path that Recover refuses once its row has been through a result
// file: a longer one comes back cut to one that may have been cut.
bool PathLostBySave(std::string_view path);

// Whether the row's texts may have been through a result file, which cuts
// them, or come whole (a journal's).
enum class TPathTexts : std::uint8_t { MayBeCut, Whole };

TUndoRowFault CheckUndoRow(std::string_view path, std::string_view newName, std::string_view oldName,
                           TPathTexts texts = TPathTexts::MayBeCut);

// Names equal but for ASCII case count as one where Recover orders its renames
// back: on a volume that ignores case they are one name. Holding a name too
// many only orders two renames back needlessly.
bool SameFoldedName(std::string_view one, std::string_view other);
// A hash of a folder and a name folded so: equal for names SameFoldedName finds equal.
std::uint64_t FoldedNameKey(std::string_view folder, std::string_view name);
// The same in two halves, for many names of one folder: FoldedNameKey(folder,
// name) == FoldedNameKeyIn(FoldedFolderKey(folder), name).
std::uint64_t FoldedFolderKey(std::string_view folder);
std::uint64_t FoldedNameKeyIn(std::uint64_t folderKey, std::string_view name);

}  // namespace vt
