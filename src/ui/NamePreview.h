#pragma once
// The new names of the file list as a Simulate with the same settings gives
// them: the same step, the same pass over the folder, the same clash finder.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "browse/FilePreview.h"
#include "engine/RenameSettings.h"
#include "passes/FileOrder.h"
#include "passes/ListedFolder.h"
#include "passes/SimulationClashes.h"
#include "platform/FolderNames.h"

namespace vt {

struct TPreviewJob {
  std::shared_ptr<const std::vector<std::string>> Names;  // the list's, in its order
  std::string Folder;                                     // the list's folder, ending with "/"
  std::string Masks;
  TFileOrder Order = TFileOrder::Name;
  TOrderDirection Direction = TOrderDirection::Ascending;
  TRenameSettings Settings;
  bool Chains = false;  // renames make room for each other, as the pass would let them
};

// The folder's listing as the last preview's pass made it, kept from job to job
// while the list's names and what shapes the listing stay the same: then a
// keystroke costs a judgement of each name, not a look at each file.
struct TPreviewListing {
  std::weak_ptr<const std::vector<std::string>> Names;  // of the list it was made for
  std::string Folder, Masks;
  TFileOrder Order = TFileOrder::Name;
  TOrderDirection Direction = TOrderDirection::Ascending;
  std::uint8_t Sources = 0;  // the fields' (FieldSource bits)
  bool ShortNames = false;
  std::shared_ptr<const TListedFolder> Listed;
  // By entry of Listed: its row in the list, or none.
  std::vector<std::uint32_t> ListRows;
  // The folder's names as hashes, sorted, when it tells names apart byte for
  // byte: a new name not among them is free without a look at the file system.
  TFolderNames FolderNames;
};

// The rows first to last by the step alone, numbered as though each row before
// them took a number: quick enough for the window thread, for the rows in view.
// No clash is known yet.
TFilePreview PreviewInView(const std::vector<std::string>& names, int first, int last, const TRenameSettings& settings);

// The whole list: a simulation of its folder (no sub-folder: they come after
// the folder's own files, whose numbers so stay right), then its clashes, in
// the words of the result table. Nothing when stop said so along the way.
// listing is used when it fits the job, and made anew when not.
std::optional<TFilePreview> PreviewWhole(const TPreviewJob& job, const std::function<bool()>& stop,
                                         TPreviewListing& listing, const TNameTakenCheck& taken = {});

}  // namespace vt
