#pragma once
// What a rename pass is asked to walk and how, besides the operation's
// settings: the front ends fill it in, the run control hands it to the pass.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "passes/FileOrder.h"
#include "passes/ListedFolder.h"
#include "passes/PassJournal.h"
#include "passes/PassRow.h"
#include "platform/FindData.h"
#include "platform/SysCalls.h"

namespace vt {

class TSearchThread;

// Whether the renames of a block run side by side (passes/RenamePool.h):
// where every one waits for a server or a FUSE daemon (FUSE and network
// volumes, as the mount table tells) and that way is timed the faster
// (passes/RenameWayChoice.h), always, never, or timed on any volume (tests
// stand in such a volume with a local one).
enum class TRenameConcurrency : std::uint8_t { ByVolume, SideBySide, OneByOne, Timed };

struct TSearchPassOptions {
  bool IncludeSubDirs = false;
  std::string Folder;  // start folder; a missing trailing "/" is added, empty means "./"
  std::string Masks = "*.*";
  TFileOrder Order = TFileOrder::Name;  // of the entries of each listing
  TOrderDirection Direction = TOrderDirection::Ascending;
  // Number starts again from its first number in each folder of the walk.
  bool RestartPerFolder = false;
  // Renames within a folder make room for each other (passes/ChainPlan.h): a
  // folder is judged whole before its first rename.
  bool Chains = false;
  // A simulation, and a pass in chains, renames one by one whatever this says.
  TRenameConcurrency Concurrency = TRenameConcurrency::ByVolume;
  std::atomic<std::uint64_t>* Progress = nullptr;  // entries handled, may be null; owned by the caller
  // Optional, called on the worker after each entry a listing returned, just before
  // the stop request is polled there: lets a caller watch, or stop, a long listing.
  // A listing is read in full first; its entries are returned a block at a time,
  // each block before it is handled.
  std::function<void(TSearchThread& pass, const TFindData& entry)> OnCollected;
  // Optional, called on the worker with the path of a sub-folder after its
  // parent was listed and just before it is opened: lets a test change the tree
  // at that moment.
  std::function<void(const std::string& subFolder)> OnDescending;
  // Optional, called on the worker just after an entry's row went into the queue:
  // lets a caller watch, or stop, the pass at a row.
  std::function<void(TSearchThread& pass, const TPassRow& row)> OnRecorded;
  // Each folder of the walk that could not be read (the start folder, a
  // sub-folder, a mask's folder part) goes into the queue with its errno: it
  // contributes nothing and the walk goes on. So does a sub-folder that is no
  // longer the folder listed by the time it is entered (a link, a file or
  // another folder now: ELOOP, ENOTDIR, ESTALE); one that is gone is simply not
  // entered.
  // Files the pass never renames, by identity: its own result files.
  std::vector<TEntryId> Untouched;
  // Optional, for a simulation without sub-folders: called on the worker with
  // the start folder's entries once listed and put in order, and read for the
  // fields the settings use. A later simulation with the same folder, masks,
  // order and field sources can take them as Listed.
  std::function<void(std::shared_ptr<const TListedFolder> listed)> OnListed;
  // The start folder's entries as OnListed gave them: judged without listing
  // the folder anew (a preview judges one listing at every keystroke).
  std::shared_ptr<const TListedFolder> Listed;
  // Where a renaming pass records its renames before it attempts them; null for
  // none (a simulation). Owned by the caller, used on the worker only.
  IPassJournal* Journal = nullptr;
};

}  // namespace vt
