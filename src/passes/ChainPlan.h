#pragma once
// The order in which the renames within a folder are done when they make room
// for each other: a rename whose new name is the old name of another rename of
// the folder waits until that one has moved, and a ring of renames (a swap, a
// shift over a full range) is opened by moving one file to a temporary name
// first and closed by moving it on from there last.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vt {

// One entry of the folder, as its rename was judged.
struct TPlannedEntry {
  std::string_view Folder;  // where the entry lives: only names of one folder make room
  std::string_view OldName;
  std::string_view NewName;
  bool Renames = false;  // a rename to attempt or, in a simulation, one that can be
  // Renamed already, before the others were planned: it still holds its old
  // name for the renames that would wait for it, but waits for none and gets no step.
  bool Moved = false;
};

enum class TChainStepKind : std::uint8_t {
  Row,       // an entry that renames nothing: its row only
  Move,      // old name to new name
  ToTemp,    // old name to the ring's temporary name: opens a ring
  FromTemp,  // the temporary name to the new name: closes it
};

struct TChainStep {
  TChainStepKind Kind = TChainStepKind::Row;
  std::uint32_t Entry = 0;
};

// Every entry once, as a Row or a Move, or twice (ToTemp, later FromTemp); an
// entry Moved already not at all.
// Entries keep their order where nothing waits: a folder without chains gives
// its entries in order. Names are compared ignoring ASCII case, as Recover
// compares them: on a volume that ignores case they are one name.
std::vector<TChainStep> PlanChains(std::span<const TPlannedEntry> entries);

// Renames whose new name is the old name of another rename of the folder:
// those that fail unless renames make room for each other.
std::size_t CountWaitingRenames(std::span<const TPlannedEntry> entries);

// The temporary name of a ring opened by the file named oldName in folder,
// the attempt-th choice should the earlier ones be taken: the same folder and
// file give the same name, so a simulation shows the name the pass takes.
std::string RingTempName(std::string_view folder, std::string_view oldName, unsigned attempt);
// True for a name RingTempName gives.
bool IsRingTempName(std::string_view name);

}  // namespace vt
