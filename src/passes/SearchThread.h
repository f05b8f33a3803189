#pragma once
// The rename pass: walks a folder (and, when asked, its sub-folders depth-first),
// lets the rename step judge or rename every plain file the masks select, and
// pushes a row per recorded entry into its queue. It knows no window: the front
// end that owns it (passes/PassThread.h) runs it on a worker and takes the rows.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/RenameSettings.h"
#include "engine/RenameStep.h"
#include "passes/ChainPlan.h"
#include "passes/ChainWatch.h"
#include "passes/FileFields.h"
#include "passes/FileOrder.h"
#include "passes/PassJournal.h"
#include "passes/PassRow.h"
#include "passes/ProcessList.h"
#include "passes/RenamePool.h"
#include "passes/RenameWayChoice.h"
#include "passes/RowQueue.h"
#include "passes/SearchPassOptions.h"
#include "platform/DirectoryListing.h"
#include "platform/EnterableFolders.h"
#include "platform/FindData.h"
#include "platform/FolderHandle.h"
#include "platform/FolderReading.h"
#include "platform/ListingStop.h"
#include "platform/NameOrder.h"

namespace vt {

class TSearchThread final {
 public:
  // recordAll: "To Record all messages", read for every entry; owned by the front
  // end, which outlives the pass.
  TSearchThread(TRowQueue& rows, const TSearchPassOptions& options, const TRenameSettings& settings, TPassMode mode,
                const std::atomic<bool>& recordAll);
  TSearchThread(const TSearchThread&) = delete;
  TSearchThread& operator=(const TSearchThread&) = delete;

  // The whole pass, on the worker. Returns when done or stopped.
  void Execute();
  // Any thread. The pass skips its remaining work and ends as usual.
  void RequestStop() { Stop.store(true, std::memory_order_relaxed); }
  bool StopRequested() const { return Stopped(); }
  bool Simulation() const { return Simulate; }

 private:
  std::vector<TSubFolder> ScanFolder(const std::shared_ptr<const TFolderHandle>& folder);
  void CollectMask(const std::shared_ptr<const TFolderHandle>& folder, const std::string& mask);
  std::size_t DrawBlock();
  void DrawListings();
  void ArrangeListings();
  void KeepListed();
  void ArrangeListing(std::size_t from);
  void ReadFacts(TProcessList& record, std::uint8_t sources);
  void HandleFoundList();
  // The same with the journal writing ahead: the intents of the block after go
  // to the disk while the block in hand is renamed.
  void HandleFoundListAhead();
  void SwapBlocks();
  enum class TIntents { Recorded, Ahead };
  std::size_t JudgeBlock(std::size_t count, TIntents intents = TIntents::Recorded);
  struct TJudgements;
  void NoteOutcome(const TJournalEntry& entry, bool attempted, bool row);
  void SettleOutcomes();
  void JudgeEntry(TProcessList& record, TJudgements& judged, std::size_t at, bool recordAll, std::uint8_t sources);
  // The folder in hand when renames make room for each other.
  void HandleFolderInChains();
  bool WatchChains();
  bool BlockMayWait(std::size_t judged);
  void TakeWaitingBlock();
  void PlanRingTemps();
  std::size_t RunChainSteps(std::size_t from);
  void PushRow(const TFolderHandle& folder, std::string&& oldName, std::string&& newName, TRenameStatus status,
               int error);
  std::size_t AttemptBlock(std::size_t judged);
  std::size_t AttemptOneByOne(std::size_t from, std::size_t to);
  std::optional<std::uint64_t> SideBySideVolume(std::size_t judged);
  bool LatencyBound(std::uint64_t device);
  std::size_t TimedAttempt(TRenameWayChoice& choice, TRenameWay way, std::size_t from, std::size_t to);
  std::size_t AttemptWay(TRenameWay way, std::size_t from, std::size_t to);
  std::size_t AttemptSideBySide(std::size_t from, std::size_t to);
  void StartPool();
  void SettleBlock(std::size_t judged, std::size_t attempted);
  bool LookAgain(TProcessList& record);
  // The flags the listing left to the file's reading, from its look through
  // the open file (else a look by name); false when the file has gone.
  static bool TakeReadFlags(TProcessList& record, const TFileFacts& facts);
  ShortNames ShortNamesNeeded() const;
  void ScanSubFolders(std::shared_ptr<const TFolderHandle> folder, std::vector<TSubFolder> subFolders);
  // What the step said of the entries of a block (or, in chains, of a
  // folder), entry by entry: the row each is to make (its new name, status and
  // error; its folder and old name join it when it is pushed), and beside the
  // rows, not in them, what the pass still has to do for each.
  struct TJudgements {
    static constexpr std::uint8_t kRow = 1;          // the entry makes a row
    static constexpr std::uint8_t kPending = 2;      // a rename to attempt
    static constexpr std::uint8_t kLookedAhead = 4;  // Looked holds its file, recorded with its intent
    std::vector<TPassRow> Rows;
    std::vector<std::uint8_t> Marks;
    std::vector<std::uint64_t> Index;  // the row's place in the pass
    std::vector<TLookedFile> Looked;   // only a block's: its renames go by them

    bool Has(std::size_t at, std::uint8_t mark) const { return (Marks[at] & mark) != 0; }
    void Mark(std::size_t at, std::uint8_t mark, bool on) {
      Marks[at] = static_cast<std::uint8_t>(on ? Marks[at] | mark : Marks[at] & ~mark);
    }
    // Room for count entries, and their looks where asked.
    void Grow(std::size_t count, bool looks);
    // One more entry, at the end: its place.
    std::size_t Add();
    void Clear();
    void Swap(TJudgements& other) noexcept;
  };
  // Moves the entry's names into its row.
  void RecordEntry(const TFolderHandle& folder, TFindData&& findData, TPassRow& judged);
  void ReportUnreadable(const std::string& folder, int error);
  void FreeFoundList();
  bool Stopped() const { return Stop.load(std::memory_order_relaxed); }

  // Entries are handled in blocks: the renames a block is to attempt go to the
  // journal in one write before the first of them is attempted, and their
  // outcomes go with the next block's write.
  static constexpr std::size_t kBlockSize = 256;
  // A journal writing ahead lets the block grow up to this while its writes
  // take longer than a block of renames: fewer, larger writes then keep up.
  static constexpr std::size_t kMostBlockSize = 8192;
  std::size_t BlockSize_ = kBlockSize;

  // The listings of the folder in hand, one per mask, and the one drawn from.
  struct TListed {
    std::shared_ptr<const TFolderHandle> Folder;  // where its entries live
    TFindHandle Listing;
  };
  // Entries of a listing drawn in full, to be handed out in the order asked for.
  using TListedEntries = std::vector<TProcessList>;
  TRowQueue& Rows_;
  std::vector<TListed> Listings_;
  // Instead of Listings_ when the order is not the listing's own: every
  // listing's entries, each listing's in order, and the next one to hand out.
  TListedEntries Arranged_;
  std::size_t NextArranged_ = 0;
  // Instead of listing the start folder: its entries as an earlier pass listed them.
  std::shared_ptr<const TListedFolder> Listed_;
  std::size_t NextListed_ = 0;
  std::function<void(std::shared_ptr<const TListedFolder>)> OnListed_;
  bool StartFolder_ = true;  // the folder in hand is the start folder
  std::size_t NextListing_ = 0;
  std::vector<TProcessList> FoundList;  // the block in hand
  // The block after it, judged while the journal writes its intents.
  std::vector<TProcessList> AheadList_;
  TJudgements AheadBlock_;
  TFolderReading Reading_;  // of the folder in hand, kept from folder to folder
  bool ReadEachFolder_ = false;
  bool IncludeSubDirs = false;
  std::string Folder;
  // The folder text the rows of the folder in hand share.
  std::shared_ptr<const std::string> RowPath;
  std::string Masks;
  std::vector<std::string> MaskList_;  // Masks split at ";"
  TFileOrder Order_ = TFileOrder::Name;
  TOrderDirection Direction_ = TOrderDirection::Ascending;
  bool Arranging_ = false;  // the order needs more than the listing's
  // The order's look at each file reads its flags too: the listing leaves them to it.
  bool FlagsFromOrder_ = false;
  // So does the reading of each image for the fields.
  bool FlagsFromFields_ = false;
  bool RestartPerFolder_ = false;
  bool Chains_ = false;
  std::optional<std::uint64_t> RulesDevice_;  // the volume whose name rules the step has
  bool ListsInodes_ = false;                  // its listing gives each file's st_ino
  // The folder in hand in chains: its entries, what the step said of each, the
  // order of the renames, and the temporary names of its rings by entry.
  // Of an entry once judged, only what its renames need: a folder's worth is held at once.
  struct TChainRecord {
    std::shared_ptr<const TFolderHandle> Folder;
    TFindData FindData;
  };
  std::vector<TChainRecord> ChainRecords_;
  // Until a rename of the folder may have to wait, its entries are renamed as
  // they come: what the watch knows of the folder's names, and the entries
  // renamed so whose old names fold as another name of the folder does (the
  // plan of the rest still asks which of them a rename waits for).
  TChainWatch ChainWatch_;
  bool Streaming_ = false;
  std::size_t WaitingBlock_ = 0;  // entries of the block that ended it, judged but neither recorded nor renamed
  std::vector<TChainRecord> MovedAlike_;
  std::vector<std::uint32_t> AlikeInBlock_;
  TJudgements ChainJudged_;
  std::vector<TChainStep> ChainSteps_;
  std::vector<std::string> RingTemps_;
  // Per step of the block in hand: its row number, outcome and the name it is under.
  TJudgements StepOutcomes_;
  TFieldReader FieldReader_;
  TFileFacts Facts_;  // of the entry in hand, when it was read only for its fields
  ReadOnlyFlags ReadOnly_ = ReadOnlyFlags::Look;
  TJudgements Block_;  // kept from block to block so that its names' storage is reused
  std::vector<TJournalEntry> Entries_;
  std::vector<TJournalEntry> Withdrawn_;
  std::vector<TPassRow> Batch_;  // the rows of the block in hand, pushed together
  IPassJournal* Journal_ = nullptr;
  std::uint64_t RowsSoFar_ = 0;
  std::uint64_t JudgedSoFar_ = 0;    // the number after the last row judged
  std::uint64_t IntentsTicket_ = 0;  // of the block judged last, when written ahead
  // The names the block looked at ahead of their renames (views of the block's entries).
  std::unordered_set<std::string_view> LookedNames_;
  // Those of the block before, while its renames are still to come.
  std::unordered_set<std::string_view> EarlierLooked_;
  // The row whose rename is being attempted, for its temporary names.
  std::uint64_t AttemptingRow_ = 0;
  const std::string* AttemptingFolder_ = nullptr;
  std::optional<TRenameStep> Step_;  // the settings snapshot; NewName and Status of the entry

  // Renames side by side: each worker of the pool renames with a renamer of
  // its own, and tells the journal of its temporary names under a lock.
  static constexpr std::size_t kRenamesInFlight = 8;
  TRenameConcurrency Concurrency_ = TRenameConcurrency::ByVolume;
  std::optional<std::uint64_t> LatencyDevice_;  // the volume LatencyBound_ tells of
  bool LatencyBound_ = false;
  std::unordered_map<std::uint64_t, TRenameWayChoice> WayChoices_;  // by volume
  std::vector<TEntryId> Untouched_;
  struct TWorkerRenamer {
    TFolderRenamer Renamer;
    std::string NewName;  // the name tried: the pool compares the block's while renames run
    std::uint64_t Row = 0;
    const std::string* Folder = nullptr;
  };
  std::vector<std::unique_ptr<TWorkerRenamer>> Workers_;
  std::mutex JournalLock_;
  std::vector<TPoolRename> PoolJobs_;
  std::vector<std::size_t> PoolEntries_;   // of each job, its entry in the block
  std::vector<std::string> PoolStranded_;  // of each job, the hidden name its file was left under
  std::unique_ptr<TRenamePool> Pool_;      // after what its workers use: it stops first
  bool Simulate = false;
  std::atomic<bool> Stop{false};

  const std::atomic<bool>& RecordAllMessages_;
  std::atomic<std::uint64_t>* Progress_ = nullptr;
  std::function<void(TSearchThread&, const TFindData&)> OnCollected_;
  std::function<void(const std::string&)> OnDescending_;
  std::function<void(TSearchThread&, const TPassRow&)> OnRecorded_;
  // A stop ends the listing in hand too: a folder of a million names takes seconds to read and sort.
  const TListingStop ListingStop_ = [this] { return Stopped(); };
};

}  // namespace vt
