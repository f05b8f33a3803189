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
#include "passes/SimulationClashes.h"

namespace vt {

struct TPreviewJob {
  std::shared_ptr<const std::vector<std::string>> Names;  // the list's, in its order
  std::string Folder;                                     // the list's folder, ending with "/"
  std::string Masks;
  TRenameSettings Settings;
  bool Chains = false;  // renames make room for each other, as the pass would let them
};

// The rows first to last by the step alone, numbered as though each row before
// them took a number: quick enough for the window thread, for the rows in view.
// No clash is known yet.
TFilePreview PreviewInView(const std::vector<std::string>& names, int first, int last, const TRenameSettings& settings);

// The whole list: a simulation of its folder (no sub-folder: they come after
// the folder's own files, whose numbers so stay right), then its clashes, in
// the words of the result table. Nothing when stop said so along the way.
std::optional<TFilePreview> PreviewWhole(const TPreviewJob& job, const std::function<bool()>& stop,
                                         const TNameTakenCheck& taken = {});

}  // namespace vt
