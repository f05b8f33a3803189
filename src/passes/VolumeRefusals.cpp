#include "passes/VolumeRefusals.h"

#include <atomic>
#include <utility>

#include "engine/NameGrowth.h"
#include "engine/RenameStep.h"
#include "passes/RowQueue.h"
#include "passes/SearchThread.h"
#include "platform/FolderRenamer.h"
#include "platform/LongestName.h"
#include "platform/NameRulesBelow.h"

namespace vt {

bool IsVolumeRefusal(int error) {
  return error == kVolumeRefusesChar || error == kVolumeRefusesControl || error == kVolumeRefusesEnd ||
         error == kVolumeRefusesLength;
}

bool MayMeetNameRefusals(const TSearchPassOptions& options) {
  const std::string folder = options.Folder.empty() ? std::string(".") : options.Folder;
  return OtherNameRulesAt(folder, options.IncludeSubDirs ? TVolumesBelow::Include : TVolumesBelow::Skip);
}

TRefusalLook RefusalLookFor(const TSearchPassOptions& options, const TRenameSettings& settings) {
  if (MayMeetNameRefusals(options)) return TRefusalLook::Full;
  // No name Linux takes can grow past what it takes: nothing to look at.
  const std::optional<std::size_t> most = MostNewNameBytes(settings, kMaxNameBytes);
  return most && *most <= kMaxNameBytes ? TRefusalLook::None : TRefusalLook::LongNames;
}

TVolumeRefusals LookForRefusals(TRefusalLook look, const TSearchPassOptions& options, const TRenameSettings& settings,
                                std::size_t first, const std::function<bool()>& stopped,
                                std::atomic<std::uint64_t>* files) {
  if (look == TRefusalLook::None) return {};
  // A mask with a folder part reaches files outside the walk the listing makes.
  if (look == TRefusalLook::LongNames && options.Masks.find('/') == std::string::npos) {
    const std::optional<std::size_t> longest =
        LongestNameBelow(options.Folder.empty() ? std::string(".") : options.Folder,
                         options.IncludeSubDirs ? TSubFolders::Include : TSubFolders::Skip, stopped);
    if (!longest) return {};  // stopped
    const std::optional<std::size_t> most = MostNewNameBytes(settings, *longest);
    if (most && *most <= kMaxNameBytes) return {};
  }
  return FindVolumeRefusals(options, settings, first, stopped, files);
}

TVolumeRefusals FindVolumeRefusals(const TSearchPassOptions& passOptions, const TRenameSettings& settings,
                                   std::size_t first, const std::function<bool()>& stopped,
                                   std::atomic<std::uint64_t>* files) {
  // The same walk and the same judgements, recorded nowhere. Without chains:
  // they order the renames, and judge every file alike.
  TSearchPassOptions options;
  options.IncludeSubDirs = passOptions.IncludeSubDirs;
  options.Folder = passOptions.Folder;
  options.Masks = passOptions.Masks;
  options.Order = passOptions.Order;
  options.Direction = passOptions.Direction;
  options.RestartPerFolder = passOptions.RestartPerFolder;
  options.Untouched = passOptions.Untouched;
  options.Progress = files;
  TVolumeRefusals found;
  TRowQueue queue;
  std::vector<TPassRow> rows;
  std::vector<TUnreadableFolder> unreadable;
  const auto look = [&] {
    queue.Take(rows, unreadable);
    for (TPassRow& row : rows) {
      if (row.Status != TRenameStatus::rsError || !IsVolumeRefusal(row.SystemError)) continue;
      if (found.First.size() < first)
        found.First.push_back({*row.Folder, std::move(row.OldName), std::move(row.NewName), row.SystemError});
      ++found.Count;
    }
    rows.clear();
    unreadable.clear();
  };
  // The rows are looked at as they come: a folder of a million files is never held.
  std::size_t since = 0;
  options.OnCollected = [&](TSearchThread& pass, const TFindData&) {
    if (stopped && stopped()) pass.RequestStop();
    if (++since < TRowQueue::kWakeBatch) return;
    since = 0;
    look();
  };
  const std::atomic<bool> recordAll{false};
  TSearchThread pass(queue, options, settings, TPassMode::Simulate, recordAll);
  pass.Execute();
  queue.End();
  look();
  return found;
}

}  // namespace vt
