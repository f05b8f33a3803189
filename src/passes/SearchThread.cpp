#include "passes/SearchThread.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "engine/RenameStatus.h"
#include "engine/TextHelpers.h"
#include "passes/HeaderReads.h"
#include "platform/DirectoryListing.h"
#include "platform/EnterableFolders.h"
#include "platform/EntryAttributes.h"
#include "platform/PathSeparator.h"
#include "platform/Volumes.h"

namespace vt {
namespace {

// An empty start folder is the current folder, never the root.
std::string StartFolder(const std::string& folder) {
  return folder.empty() ? std::string(".") + PathSeparator : IncludeBackslash(folder);
}

// Only plain files get rows, and a pass touches nothing it could not show.
bool IsPlainFile(const TFindData& entry) {
  return entry.dwFileAttributes == FileAttr::Archive || entry.dwFileAttributes == FileAttr::Normal;
}

// VELTRANE_RENAMES="one-by-one" or "side-by-side" overrides the volume's
// nature, so a benchmark can set the two against each other on one volume.
TRenameConcurrency ConcurrencyOf(TRenameConcurrency asked) {
  if (asked != TRenameConcurrency::ByVolume) return asked;
  const char* value = std::getenv("VELTRANE_RENAMES");  // NOLINT(concurrency-mt-unsafe): nothing sets the environment
  if (value == nullptr) return asked;
  const std::string_view text = value;
  if (text == "one-by-one") return TRenameConcurrency::OneByOne;
  if (text == "side-by-side") return TRenameConcurrency::SideBySide;
  return asked;
}

}  // namespace

TSearchThread::TSearchThread(TRowQueue& rows, const TSearchPassOptions& options, const TRenameSettings& settings,
                             TPassMode mode, const std::atomic<bool>& recordAll)
    : Rows_(rows),
      RecordAllMessages_(recordAll),
      Progress_(options.Progress),
      OnCollected_(options.OnCollected),
      OnDescending_(options.OnDescending),
      OnRecorded_(options.OnRecorded) {
  // Only a simulation of the start folder alone can be judged from a listing kept.
  if (mode == TPassMode::Simulate && !options.IncludeSubDirs) {
    Listed_ = options.Listed;
    OnListed_ = options.OnListed;
  }
  Journal_ = options.Journal;
  Simulate = mode == TPassMode::Simulate;
  IncludeSubDirs = options.IncludeSubDirs;
  Folder = StartFolder(options.Folder);
  Masks = options.Masks;
  SplitString(Masks, ';', MaskList_);
  // Only masks without a folder part, and the walk's sub-folders, use the reading.
  ReadEachFolder_ = IncludeSubDirs || std::any_of(MaskList_.begin(), MaskList_.end(), [](const std::string& mask) {
                      return !mask.empty() && mask.find('/') == std::string::npos;
                    });
  Order_ = options.Order;
  Direction_ = options.Direction;
  Arranging_ = OrderSources(Order_) != FieldSource::None || Direction_ == TOrderDirection::Descending;
  RestartPerFolder_ = options.RestartPerFolder;
  Chains_ = options.Chains;
  Step_.emplace(settings, mode);
  Step_->KeepUntouched(options.Untouched);
  Untouched_ = options.Untouched;
  Concurrency_ = mode == TPassMode::Rename ? ConcurrencyOf(options.Concurrency) : TRenameConcurrency::OneByOne;
  // A hidden temporary name is on record before a file goes there: Recover finds it again after any kill.
  if (Journal_ != nullptr)
    Step_->OnTemporaryName(
        [this](std::string_view name) { return Journal_->Temporary(AttemptingRow_, *AttemptingFolder_, name); });
  // A rename looks at each file just before it moves it; that look can tell a
  // read-only file as well as the listing's, which is then saved. Only where
  // judging a file changes nothing for the next one: a number given to a file
  // found read-only at that look would be missing from the files after it.
  if (mode == TPassMode::Rename && settings.Operation != TOperation::Number) ReadOnly_ = ReadOnlyFlags::LeaveToCaller;
  // An order by date or by size looks at every file before the first is
  // judged: that look tells a read-only file as the listing's would, which is then saved.
  FlagsFromOrder_ = ReadOnly_ == ReadOnlyFlags::Look && OrderSources(Order_) != FieldSource::None;
  FlagsFromFields_ = ReadOnly_ == ReadOnlyFlags::Look && (Step_->FieldSources() & FieldSource::Image) != 0;
}

// The walk goes from folder handle to folder handle: a folder swapped for a link
// during the pass cannot lead it elsewhere, and no path grows too long to use.
void TSearchThread::Execute() {
  auto start = std::make_shared<TFolderHandle>();
  if (const int error = TFolderHandle::Open(Folder, *start)) {
    ReportUnreadable(Folder, error);  // contributes nothing
    return;
  }
  std::vector<TSubFolder> subFolders = ScanFolder(start);
  if (IncludeSubDirs) ScanSubFolders(std::move(start), std::move(subFolders));
  Pool_.reset();
}

// One reading of the folder serves every mask that lists the folder itself and
// the walk's sub-folders; the sub-folders are taken from it before any file is
// renamed, with the identity each has now.
std::vector<TSubFolder> TSearchThread::ScanFolder(const std::shared_ptr<const TFolderHandle>& folder) {
  std::vector<TSubFolder> subFolders;
  const bool start = std::exchange(StartFolder_, false);
  if (start && Listed_) {
    if (RestartPerFolder_) Step_->RestartCounter();
    if (Chains_)
      HandleFolderInChains();
    else
      HandleFoundList();
    FreeFoundList();
    return subFolders;
  }
  if (ReadEachFolder_) {
    if (const int error = Reading_.Read(*folder, ListingStop_)) {
      ReportUnreadable(folder->Path(), error);  // contributes nothing, and no sub-folder is entered
      return subFolders;
    }
  }
  // Every listing is read and sorted in full before the first entry is handled,
  // so that a renamed file is not found again in this folder.
  for (const std::string& mask : MaskList_) {
    if (Stopped()) break;
    CollectMask(folder, mask);
  }
  if (IncludeSubDirs && !Stopped())
    ListEnterableFolders(*folder, Reading_, ListingOrder(Order_), subFolders, ListingStop_);
  if (Arranging_) ArrangeListings();
  if (start && OnListed_ && !Stopped()) KeepListed();
  if (RestartPerFolder_) Step_->RestartCounter();
  if (Chains_)
    HandleFolderInChains();
  else
    HandleFoundList();
  FreeFoundList();
  Reading_.Clear();
  return subFolders;
}

void TSearchThread::CollectMask(const std::shared_ptr<const TFolderHandle>& folder, const std::string& mask) {
  if (mask.empty()) return;  // selects nothing
  TFindHandle listing(folder, Reading_, mask, ListFilter::All, ShortNamesNeeded(), ListingOrder(Order_), ListingStop_,
                      FlagsFromOrder_ || FlagsFromFields_ ? ReadOnlyFlags::LeaveToCaller : ReadOnly_);
  // A mask naming a folder that is not there selects nothing, as a mask may.
  if (listing.Error() != 0 && listing.Error() != ENOENT && listing.Error() != ENOTDIR)
    ReportUnreadable(listing.Folder(), listing.Error());
  // A mask with a folder part lists another folder: its entries live there.
  std::shared_ptr<const TFolderHandle> listed = listing.FolderHandle();
  Listings_.push_back(TListed{std::move(listed), std::move(listing)});
}

// The next block of entries from the listings, in their order, into records
// kept from block to block: a folder's entries are never all copied at once.
std::size_t TSearchThread::DrawBlock() {
  std::size_t count = 0;
  while (Listed_ && count < BlockSize_ && NextListed_ < Listed_->Size()) {
    if (count == FoundList.size()) FoundList.emplace_back();
    Listed_->Get(NextListed_++, FoundList[count++]);
    if (OnCollected_) {
      OnCollected_(*this, FoundList[count - 1].FindData);
      if (Stopped()) break;
    }
  }
  while (Arranging_ && count < BlockSize_ && NextArranged_ < Arranged_.size()) {
    if (count == FoundList.size()) FoundList.emplace_back();
    FoundList[count++] = std::move(Arranged_[NextArranged_++]);
    if (OnCollected_) {
      OnCollected_(*this, FoundList[count - 1].FindData);
      if (Stopped()) break;
    }
  }
  while (count < BlockSize_ && NextListing_ < Listings_.size()) {
    TListed& listed = Listings_[NextListing_];
    if (count == FoundList.size()) FoundList.emplace_back();
    TProcessList& record = FoundList[count];
    if (!listed.Listing.FindNext(record.FindData)) {
      ++NextListing_;
      continue;
    }
    record.Folder = listed.Folder;
    record.Facts.reset();
    ++count;
    if (OnCollected_) {
      OnCollected_(*this, record.FindData);
      if (Stopped()) break;
    }
  }
  return count;
}

// Every listing drawn in full and each put in the order asked for, reading
// what the order needs of each file (and what the fields need, in the same read).
void TSearchThread::ArrangeListings() {
  // A record moves whole each time the vector grows: room for the folder's files at once.
  if (ReadEachFolder_) Arranged_.reserve(Reading_.Count());
  for (TListed& listed : Listings_) {
    const std::size_t from = Arranged_.size();
    for (;;) {
      if (Stopped()) return;
      TProcessList record;
      if (!listed.Listing.FindNext(record.FindData)) break;
      record.Folder = listed.Folder;
      Arranged_.push_back(std::move(record));
    }
    ArrangeListing(from);
  }
  Listings_.clear();
}

// Every listing drawn in full, in its own order.
void TSearchThread::DrawListings() {
  for (TListed& listed : Listings_) {
    for (;;) {
      if (Stopped()) return;
      TProcessList record;
      if (!listed.Listing.FindNext(record.FindData)) break;
      record.Folder = listed.Folder;
      Arranged_.push_back(std::move(record));
    }
  }
  Listings_.clear();
}

// The start folder's entries, in order and read for the fields, handed to the
// caller to judge again later; this pass then draws them from there too.
void TSearchThread::KeepListed() {
  if (!Arranging_) DrawListings();
  const std::uint8_t sources = Step_->FieldSources();
  auto listed = std::make_shared<TListedFolder>();
  for (TProcessList& record : Arranged_) {
    if (Stopped()) return;
    if (sources != FieldSource::None && !record.Facts && IsPlainFile(record.FindData)) {
      ReadFacts(record, sources);
      if (FlagsFromFields_ && !TakeReadFlags(record, *record.Facts)) continue;  // gone
    }
    listed->Add(record);
  }
  Arranged_.clear();
  NextArranged_ = 0;
  Listed_ = listed;
  NextListed_ = 0;
  OnListed_(std::move(listed));
}

void TSearchThread::ArrangeListing(std::size_t from) {
  const std::uint8_t sources = OrderSources(Order_);
  const std::size_t count = Arranged_.size() - from;
  if (sources == FieldSource::None) {
    std::reverse(Arranged_.begin() + static_cast<std::ptrdiff_t>(from), Arranged_.end());
    return;
  }
  std::vector<std::optional<std::int64_t>> keys(count);
  // Entries the order's look found gone: the listing's look would have left them out.
  std::vector<std::uint8_t> gone(count, 0);
  const std::uint8_t fields = Step_->FieldSources();
  const TFileOrder order = Order_;
  const bool looks = (sources & FieldSource::Stat) != 0;
  const bool flagsFromOrder = FlagsFromOrder_;
  const auto read = [&](TFieldReader& reader, std::size_t i) {
    TProcessList& record = Arranged_[from + i];
    if (!IsPlainFile(record.FindData)) return;
    std::optional<TFileStat> looked;
    const bool takeFlags = flagsFromOrder && record.FindData.FlagsUnread;
    if (looks) {
      const TEntryLook look = LookAtEntry(*record.Folder, record.FindData.cFileName,
                                          takeFlags ? FlagSource::OpenWhereNeeded : FlagSource::LookOnly);
      if (takeFlags) {
        record.FindData.FlagsUnread = false;
        if (!look.Attributes) {
          gone[i] = 1;
          return;
        }
        record.FindData.dwFileAttributes = *look.Attributes;
        if (!IsPlainFile(record.FindData)) return;
      }
      if (look.Error == 0) looked = FileStatOf(look.Info);
    }
    // A key per file is all the order keeps: the facts stay only for the fields.
    TFileFacts keyOnly;
    TFileFacts& facts = fields == FieldSource::None ? keyOnly : *(record.Facts = std::make_unique<TFileFacts>());
    // The order's look is the date modified the fields would read; made into
    // a calendar date only for a field that shows it.
    const std::uint8_t reads = looks && (fields & FieldSource::Stat) == 0
                                   ? static_cast<std::uint8_t>((sources | fields) & ~FieldSource::Stat)
                                   : static_cast<std::uint8_t>(sources | fields);
    if (looks && reads != FieldSource::None)
      reader.Read(*record.Folder, record.FindData.cFileName, reads, facts, looked);
    else if (reads != FieldSource::None)
      reader.Read(*record.Folder, record.FindData.cFileName, reads, facts);
    if (looks && !facts.Stat) facts.Stat = looked;
    if (takeFlags && !looks && !TakeReadFlags(record, facts)) {
      gone[i] = 1;
      record.Facts.reset();
      return;
    }
    keys[i] = OrderKey(order, facts);
  };
  ReadHeaders(count, HeaderThreads(count), FieldReader_, read, ListingStop_);
  if (Stopped()) return;
  std::vector<std::uint32_t> positions = ArrangeByKeys(keys, Direction_);
  TListedEntries arranged;
  arranged.reserve(count);
  for (const std::uint32_t at : positions)
    if (gone[at] == 0) arranged.push_back(std::move(Arranged_[from + at]));
  std::move(arranged.begin(), arranged.end(), Arranged_.begin() + static_cast<std::ptrdiff_t>(from));
  Arranged_.erase(Arranged_.begin() + static_cast<std::ptrdiff_t>(from + arranged.size()), Arranged_.end());
}

void TSearchThread::ReadFacts(TProcessList& record, std::uint8_t sources) {
  record.Facts = std::make_unique<TFileFacts>();
  FieldReader_.Read(*record.Folder, record.FindData.cFileName, sources, *record.Facts);
}

ShortNames TSearchThread::ShortNamesNeeded() const {
  // Making 8.3 names costs a look-up per entry; only Truncate to 8.3 reads them.
  const TRenameSettings& settings = Step_->Settings();
  return settings.Operation == TOperation::Truncate && settings.TruncateKind == TTruncateKind::ShortName
             ? ShortNames::Make
             : ShortNames::Skip;
}

void TSearchThread::HandleFoundList() {
  if (Journal_ != nullptr && Journal_->WritesAhead()) {
    HandleFoundListAhead();
    return;
  }
  // A stop leaves what is left to FreeFoundList.
  while (!Stopped()) {
    const std::size_t drawn = DrawBlock();
    if (drawn == 0) return;
    const std::size_t judged = JudgeBlock(drawn);
    const std::size_t attempted = AttemptBlock(judged);
    SettleBlock(judged, attempted);
    if (judged < drawn || attempted < judged) return;
  }
}

// Each block's intents are on disk before its first rename, as without
// writing ahead; only the wait for them overlaps the renames of the block before.
void TSearchThread::HandleFoundListAhead() {
  std::size_t drawn = DrawBlock();
  if (drawn == 0) return;
  JudgedSoFar_ = RowsSoFar_;
  std::size_t judged = JudgeBlock(drawn, TIntents::Ahead);
  std::uint64_t ticket = IntentsTicket_;
  for (;;) {
    std::size_t nextDrawn = 0;
    std::size_t nextJudged = 0;
    // A stop while judging leaves no block after this one.
    if (judged == drawn && !Stopped()) {
      SwapBlocks();
      nextDrawn = DrawBlock();
      if (nextDrawn > 0) nextJudged = JudgeBlock(nextDrawn, TIntents::Ahead);
      SwapBlocks();
    }
    const std::uint64_t nextTicket = IntentsTicket_;
    if (judged > 0 && !Journal_->IntentsRecorded(ticket)) BlockSize_ = std::min(BlockSize_ * 2, kMostBlockSize);
    if (judged > 0 && !Journal_->AwaitIntents(ticket)) {
      // Not on record: no rename of the block, nor of any after it.
      RequestStop();
      judged = 0;
    }
    const std::size_t attempted = AttemptBlock(judged);
    SettleBlock(judged, attempted);
    if (judged < drawn || attempted < judged || nextDrawn == 0) {
      // The block after was judged and its intents handed over: none of its renames comes.
      SwapBlocks();
      SettleBlock(nextJudged, 0);
      SwapBlocks();
      return;
    }
    SwapBlocks();
    drawn = nextDrawn;
    judged = nextJudged;
    ticket = nextTicket;
  }
}

void TSearchThread::TJudgements::Grow(std::size_t count, bool looks) {
  if (Rows.size() < count) {
    Rows.resize(count);
    Marks.resize(count);
    Index.resize(count);
  }
  if (looks && Looked.size() < count) Looked.resize(count);
}

std::size_t TSearchThread::TJudgements::Add() {
  Rows.emplace_back();
  Marks.push_back(0);
  Index.push_back(0);
  return Rows.size() - 1;
}

void TSearchThread::TJudgements::Clear() {
  Rows.clear();
  Marks.clear();
  Index.clear();
  Looked.clear();
}

void TSearchThread::TJudgements::Swap(TJudgements& other) noexcept {
  Rows.swap(other.Rows);
  Marks.swap(other.Marks);
  Index.swap(other.Index);
  Looked.swap(other.Looked);
}

// The block in hand and the one after change places; their storage stays.
void TSearchThread::SwapBlocks() {
  FoundList.swap(AheadList_);
  Block_.Swap(AheadBlock_);
}

// Decides every entry of the block without touching the disk; the intents go out.
std::size_t TSearchThread::JudgeBlock(std::size_t count, TIntents intents) {
  Block_.Grow(count, true);
  Entries_.clear();
  const bool counting = Progress_ != nullptr;
  const bool recordAll = RecordAllMessages_.load(std::memory_order_relaxed);
  const std::uint8_t sources = Step_->FieldSources();
  const bool ahead = intents == TIntents::Ahead;
  std::uint64_t index = ahead ? JudgedSoFar_ : RowsSoFar_;
  std::size_t judged = 0;
  // Written ahead, the block before is still to be renamed: its names count as looked at.
  if (ahead)
    EarlierLooked_.swap(LookedNames_);
  else
    EarlierLooked_.clear();
  LookedNames_.clear();
  for (; judged < count; ++judged) {
    if (Stopped()) break;
    TProcessList& record = FoundList[judged];
    JudgeEntry(record, Block_, judged, recordAll, sources);
    const TPassRow& entry = Block_.Rows[judged];
    TLookedFile& looked = Block_.Looked[judged];
    // The rename's own look, made before the intent so that the journal records
    // which file it is about. It stands in for the listing's too: a file found
    // read-only gets no row, as the listing would have given it none.
    // An entry two masks select comes twice; the second time it is looked at
    // when its turn comes, after the first one's rename. One mask lists each entry once.
    const bool lookedAhead = Block_.Has(judged, TJudgements::kPending) &&
                             (MaskList_.size() < 2 || (!EarlierLooked_.contains(record.FindData.cFileName) &&
                                                       LookedNames_.insert(record.FindData.cFileName).second));
    Block_.Mark(judged, TJudgements::kLookedAhead, lookedAhead);
    // Where the listing's number is the file's own, the journal records that,
    // and the rename's look comes only just before its move: a file found
    // read-only there has its intent withdrawn and no row, as here.
    if (lookedAhead && ListsInodes_ && record.FindData.Inode != 0) {
      looked = ListedFile(record.Folder->Id().Device, record.FindData.Inode);
    } else if (lookedAhead) {
      looked = Step_->Look(*record.Folder, record.FindData.cFileName);
      const TEntryInfo& info = looked.Info;
      if (record.FindData.FlagsUnread && looked.Error == 0 && info.Regular && info.Immutable)
        Block_.Mark(judged, TJudgements::kRow | TJudgements::kPending, false);
    }
    if (!Block_.Has(judged, TJudgements::kRow)) continue;
    Block_.Index[judged] = index++;
    if (!Block_.Has(judged, TJudgements::kPending)) continue;
    TJournalEntry& intent =
        Entries_.emplace_back(TJournalEntry{Block_.Index[judged], record.Folder->Path(), record.FindData.cFileName,
                                            entry.NewName, TRenameStatus::rsCanBeRenamed, 0, true});
    if (lookedAhead && looked.Source == TLookSource::Listing)
      intent.Identity = ListedIdentity(looked.Info.Id);
    else if (lookedAhead && looked.Error == 0 && looked.Info.Regular)
      intent.Identity = IdentityOf(looked.Info);
  }
  // Counted once per block: the count is read from another thread.
  if (counting) Progress_->fetch_add(judged, std::memory_order_relaxed);
  // Renames making room for each other: the block goes to the plan, unrecorded (none judged ends the handling).
  if (Streaming_ && judged == count && BlockMayWait(judged)) return 0;
  JudgedSoFar_ = index;
  // No rename without its record: a journal that cannot be written ends the pass here.
  if (ahead) {
    const std::optional<std::uint64_t> ticket = Journal_->IntendAhead(Entries_);
    if (!ticket) {
      RequestStop();
      return 0;
    }
    IntentsTicket_ = *ticket;
    return judged;
  }
  if (Journal_ != nullptr && !Entries_.empty() && !Journal_->Intend(Entries_)) {
    RequestStop();
    return 0;
  }
  return judged;
}

// A row attempted goes on record as settled; an intent that made no row (left
// as read-only, or never attempted) is withdrawn.
void TSearchThread::NoteOutcome(const TJournalEntry& entry, bool attempted, bool row) {
  if (attempted && row)
    Entries_.push_back(entry);
  else if (entry.Attempted)
    Withdrawn_.push_back(entry);
}

void TSearchThread::SettleOutcomes() {
  if (Journal_ == nullptr) return;
  Journal_->Settled(Entries_);
  Journal_->Withdrawn(Withdrawn_);
}

void TSearchThread::JudgeEntry(TProcessList& record, TJudgements& judged, std::size_t at, bool recordAll,
                               std::uint8_t sources) {
  // The mount table is read once per volume the walk enters.
  if (const std::uint64_t device = record.Folder->Id().Device; !RulesDevice_ || *RulesDevice_ != device) {
    RulesDevice_ = device;
    Step_->SetNameRules(NameRulesOfDevice(device));
    ListsInodes_ = NatureOfDevice(device).ListsInodeNumbers;
  }
  bool present = true;
  if (sources != FieldSource::None && IsPlainFile(record.FindData)) {
    if (!record.Facts) {
      FieldReader_.Read(*record.Folder, record.FindData.cFileName, sources, Facts_);
      if (FlagsFromFields_) present = TakeReadFlags(record, Facts_);
    }
    Step_->SetFieldValues(record.Facts ? &record.Facts->Values : &Facts_.Values);
  }
  bool row = present && IsPlainFile(record.FindData) && Step_->Judge(record.FindData) &&
             (Step_->Status() != TRenameStatus::rsNoMatch || recordAll);
  const bool pending = row && Step_->RenamePending();
  // A row without a rename has no look before it: the listing's look is made here.
  if (row && !pending && record.FindData.FlagsUnread) row = LookAgain(record);
  judged.Marks[at] = static_cast<std::uint8_t>((row ? TJudgements::kRow : 0) | (pending ? TJudgements::kPending : 0));
  TPassRow& entry = judged.Rows[at];
  entry.Status = Step_->Status();
  entry.SystemError = Step_->SystemError();  // the step's own reason of an "Error" row (a hiding name, a costly
                                             // pattern, a lacking field)
  entry.NewName = Step_->NewName();
}

// Where the folder's names are known before its first entry is judged, its
// entries are renamed as they come, as without chains, until one may have to
// wait for an entry still to come; from that block on, the rest of the folder
// is judged whole before its next rename, so that a rename can wait for the
// one whose old name it takes. Then the renames are done in the order planned,
// a block at a time as HandleFoundList does them. A stop while judging renames
// nothing more of the folder.
void TSearchThread::HandleFolderInChains() {
  ChainRecords_.clear();
  ChainJudged_.Clear();
  MovedAlike_.clear();
  if (WatchChains()) {
    Streaming_ = true;
    WaitingBlock_ = 0;
    HandleFoundList();
    Streaming_ = false;
    if (WaitingBlock_ == 0 || Stopped()) return;
  }
  // Room for the folder's entries at once, where its reading tells how many: a
  // growing vector would move every entry again at each step.
  if (ReadEachFolder_) {
    ChainRecords_.reserve(Reading_.Count());
    ChainJudged_.Rows.reserve(Reading_.Count());
    ChainJudged_.Marks.reserve(Reading_.Count());
  }
  TakeWaitingBlock();
  const bool counting = Progress_ != nullptr;
  const bool recordAll = RecordAllMessages_.load(std::memory_order_relaxed);
  const std::uint8_t sources = Step_->FieldSources();
  while (!Stopped()) {
    const std::size_t drawn = DrawBlock();
    if (drawn == 0) break;
    for (std::size_t i = 0; i < drawn && !Stopped(); ++i) {
      if (counting) Progress_->fetch_add(1, std::memory_order_relaxed);
      TProcessList& record = FoundList[i];
      JudgeEntry(record, ChainJudged_, ChainJudged_.Add(), recordAll, sources);
      ChainRecords_.push_back(TChainRecord{record.Folder, std::move(record.FindData)});
    }
  }
  if (Stopped()) return;
  // The entries renamed already come first, as they came: a rename whose new
  // name folds as several old names waits for the first of them.
  const std::size_t moved = MovedAlike_.size();
  std::vector<TPlannedEntry> planned(moved + ChainRecords_.size());
  for (std::size_t i = 0; i < moved; ++i)
    planned[i] = {MovedAlike_[i].Folder->Path(), MovedAlike_[i].FindData.cFileName, {}, true, true};
  for (std::size_t i = 0; i < ChainRecords_.size(); ++i) {
    const TPassRow& entry = ChainJudged_.Rows[i];
    planned[moved + i] = {ChainRecords_[i].Folder->Path(), ChainRecords_[i].FindData.cFileName, entry.NewName,
                          ChainJudged_.Has(i, TJudgements::kRow) && entry.Status == TRenameStatus::rsCanBeRenamed};
  }
  ChainSteps_ = PlanChains(planned);
  for (TChainStep& step : ChainSteps_) step.Entry -= static_cast<std::uint32_t>(moved);
  planned.clear();
  MovedAlike_.clear();
  PlanRingTemps();
  for (std::size_t at = 0; at < ChainSteps_.size() && !Stopped();) at = RunChainSteps(at);
  ChainRecords_.clear();
  ChainJudged_.Clear();
  ChainSteps_.clear();
}

// One mask without a folder part lists each entry of the folder in hand once,
// from a reading made (or a listing kept) before the first is drawn: the watch
// learns every name first.
bool TSearchThread::WatchChains() {
  if (MaskList_.size() != 1 || MaskList_.front().empty() || MaskList_.front().find('/') != std::string::npos)
    return false;
  if (Listed_) {
    ChainWatch_.Reset(Listed_->Size());
    for (std::size_t i = 0; i < Listed_->Size(); ++i) ChainWatch_.AddName(Listed_->Name(i));
    return true;
  }
  if (!ReadEachFolder_) return false;
  ChainWatch_.Reset(Reading_.Count());
  for (std::uint32_t at = Reading_.First(); at != TFolderReading::kEnd;) {
    const TFolderEntry entry = Reading_.At(at);
    ChainWatch_.AddName(entry.Name);
    at = Reading_.After(entry);
  }
  return true;
}

// True when a rename of the block just judged may have to wait for an entry
// still to come. Otherwise the block's renames that take names folding alike
// are kept, should the plan be needed after all.
bool TSearchThread::BlockMayWait(std::size_t judged) {
  AlikeInBlock_.clear();
  for (std::size_t i = 0; i < judged; ++i) {
    const TPassRow& entry = Block_.Rows[i];
    const bool alike = ChainWatch_.Draw(FoundList[i].FindData.cFileName);
    // As the plan would see it: a file the look found read-only is still a rename to it.
    if (!Block_.Has(i, TJudgements::kRow | TJudgements::kLookedAhead) || entry.Status != TRenameStatus::rsCanBeRenamed)
      continue;
    if (ChainWatch_.MayWait(entry.NewName)) {
      WaitingBlock_ = judged;
      return true;
    }
    if (alike) AlikeInBlock_.push_back(static_cast<std::uint32_t>(i));
  }
  for (const std::uint32_t i : AlikeInBlock_)
    MovedAlike_.push_back(TChainRecord{FoundList[i].Folder, FoundList[i].FindData});
  return false;
}

// The block that ended the streaming joins the plan as judged; the plan
// attempts a file the look found read-only, and learns the same then.
void TSearchThread::TakeWaitingBlock() {
  for (std::size_t i = 0; i < WaitingBlock_; ++i) {
    const std::size_t at = ChainJudged_.Add();
    ChainJudged_.Rows[at] = std::move(Block_.Rows[i]);
    ChainJudged_.Marks[at] = static_cast<std::uint8_t>(
        Block_.Has(i, TJudgements::kLookedAhead) ? TJudgements::kRow | TJudgements::kPending
                                                 : Block_.Marks[i] & (TJudgements::kRow | TJudgements::kPending));
    ChainRecords_.push_back(TChainRecord{FoundList[i].Folder, std::move(FoundList[i].FindData)});
  }
  WaitingBlock_ = 0;
}

// A ring's temporary name is one no entry of its folder has, and the same in a
// simulation as in the pass.
void TSearchThread::PlanRingTemps() {
  RingTemps_.assign(ChainRecords_.size(), std::string());
  std::vector<std::string_view> chosen;
  for (const TChainStep& step : ChainSteps_) {
    if (step.Kind != TChainStepKind::ToTemp) continue;
    const TChainRecord& record = ChainRecords_[step.Entry];
    std::string temp;
    for (unsigned attempt = 0;; ++attempt) {
      temp = RingTempName(record.Folder->Path(), record.FindData.cFileName, attempt);
      if (std::find(chosen.begin(), chosen.end(), temp) == chosen.end() &&
          !LookedAttributes(*record.Folder, temp).has_value())
        break;
    }
    RingTemps_[step.Entry] = std::move(temp);
    chosen.emplace_back(RingTemps_[step.Entry]);
  }
}

// One block of steps from from: intents out, renames, outcomes. A block ends
// after a step that opens a ring, so the journal holds that rename's outcome
// before the intent of the one that closes it: read after a crash, a ring whose
// temporary name is free again has been closed. The step after the block.
std::size_t TSearchThread::RunChainSteps(std::size_t from) {
  std::size_t end = from;
  while (end < ChainSteps_.size() && end - from < kBlockSize)
    if (ChainSteps_[end++].Kind == TChainStepKind::ToTemp) break;
  const auto oldNameOf = [&](const TChainStep& step) -> const std::string& {
    return step.Kind == TChainStepKind::FromTemp ? RingTemps_[step.Entry]
                                                 : ChainRecords_[step.Entry].FindData.cFileName;
  };
  const auto newNameOf = [&](const TChainStep& step) -> const std::string& {
    return step.Kind == TChainStepKind::ToTemp ? RingTemps_[step.Entry] : ChainJudged_.Rows[step.Entry].NewName;
  };
  StepOutcomes_.Grow(end - from, false);
  Entries_.clear();
  std::uint64_t index = RowsSoFar_;
  for (std::size_t k = from; k < end; ++k) {
    const TChainStep& step = ChainSteps_[k];
    const TPassRow& entry = ChainJudged_.Rows[step.Entry];
    const bool pending = ChainJudged_.Has(step.Entry, TJudgements::kPending);
    const std::size_t at = k - from;
    TPassRow& outcome = StepOutcomes_.Rows[at];
    // A ring whose opening failed is not closed: its file never left.
    const bool row = ChainJudged_.Has(step.Entry, TJudgements::kRow) &&
                     !(step.Kind == TChainStepKind::FromTemp && entry.Status == TRenameStatus::rsError);
    StepOutcomes_.Marks[at] =
        static_cast<std::uint8_t>((row ? TJudgements::kRow : 0) | (row && pending ? TJudgements::kPending : 0));
    outcome.Status = pending ? TRenameStatus::rsCanBeRenamed : entry.Status;
    outcome.SystemError = entry.SystemError;
    if (!row) continue;
    StepOutcomes_.Index[at] = index++;
    if (row && pending)
      Entries_.push_back(TJournalEntry{StepOutcomes_.Index[at], ChainRecords_[step.Entry].Folder->Path(),
                                       oldNameOf(step), newNameOf(step), TRenameStatus::rsCanBeRenamed, 0, true});
  }
  if (Journal_ != nullptr && !Entries_.empty() && !Journal_->Intend(Entries_)) {
    RequestStop();
    return end;
  }
  std::size_t attempted = end;
  for (std::size_t k = from; k < end; ++k) {
    const std::size_t at = k - from;
    TPassRow& outcome = StepOutcomes_.Rows[at];
    const TChainStep& step = ChainSteps_[k];
    outcome.NewName = newNameOf(step);
    if (!StepOutcomes_.Has(at, TJudgements::kPending)) continue;
    if (Stopped()) {
      attempted = k;
      break;
    }
    TChainRecord& record = ChainRecords_[step.Entry];
    const Unwritable unwritable = record.FindData.FlagsUnread ? Unwritable::Leave : Unwritable::Move;
    AttemptingRow_ = StepOutcomes_.Index[at];
    AttemptingFolder_ = &record.Folder->Path();
    outcome.Status = Step_->Attempt(*record.Folder, oldNameOf(step), outcome.NewName, outcome.SystemError, unwritable);
    if (outcome.SystemError == kLeftUnwritable) StepOutcomes_.Mark(at, TJudgements::kRow, false);
    // What the closing step finds of the opening one.
    if (step.Kind == TChainStepKind::ToTemp && outcome.Status != TRenameStatus::rsOk)
      ChainJudged_.Rows[step.Entry].Status = TRenameStatus::rsError;
  }
  Entries_.clear();
  Withdrawn_.clear();
  constexpr std::uint8_t kRowOrPending = TJudgements::kRow | TJudgements::kPending;
  for (std::size_t k = from; k < end; ++k) {
    const std::size_t at = k - from;
    const TPassRow& outcome = StepOutcomes_.Rows[at];
    const TChainStep& step = ChainSteps_[k];
    if (!StepOutcomes_.Has(at, kRowOrPending)) continue;
    const TJournalEntry journalEntry{StepOutcomes_.Index[at],
                                     ChainRecords_[step.Entry].Folder->Path(),
                                     oldNameOf(step),
                                     outcome.NewName,
                                     outcome.Status,
                                     outcome.SystemError,
                                     StepOutcomes_.Has(at, TJudgements::kPending)};
    NoteOutcome(journalEntry, k < attempted, StepOutcomes_.Has(at, TJudgements::kRow));
  }
  SettleOutcomes();
  for (std::size_t k = from; k < attempted; ++k) {
    const std::size_t at = k - from;
    TPassRow& outcome = StepOutcomes_.Rows[at];
    if (!StepOutcomes_.Has(at, kRowOrPending)) continue;
    RowsSoFar_ = StepOutcomes_.Index[at] + 1;
    if (!StepOutcomes_.Has(at, TJudgements::kRow)) continue;
    const TChainStep& step = ChainSteps_[k];
    TChainRecord& record = ChainRecords_[step.Entry];
    if (!IsPlainFile(record.FindData)) continue;
    // Each old name is a row's once, and needed no more once it is: it moves into the row.
    std::string& oldName = step.Kind == TChainStepKind::FromTemp ? RingTemps_[step.Entry] : record.FindData.cFileName;
    PushRow(*record.Folder, std::move(oldName), std::move(outcome.NewName), outcome.Status, outcome.SystemError);
  }
  Rows_.PushAll(Batch_);
  return end;
}

void TSearchThread::PushRow(const TFolderHandle& folder, std::string&& oldName, std::string&& newName,
                            TRenameStatus status, int error) {
  if (!RowPath || *RowPath != folder.Path()) RowPath = std::make_shared<const std::string>(folder.Path());
  // A hook sees each row once it is in the queue, as a reader could.
  if (OnRecorded_) {
    TPassRow row{RowPath, std::move(oldName), std::move(newName), error, status};
    const TPassRow seen = row;
    Rows_.Push(std::move(row));
    OnRecorded_(*this, seen);
    return;
  }
  Batch_.push_back(TPassRow{RowPath, std::move(oldName), std::move(newName), error, status});
}

// Renames in the block's order; a stop ends it before the next rename. The
// number of entries whose rows stand.
std::size_t TSearchThread::AttemptBlock(std::size_t judged) {
  const std::optional<std::uint64_t> device = SideBySideVolume(judged);
  if (!device) return AttemptOneByOne(0, judged);
  if (Concurrency_ == TRenameConcurrency::SideBySide) return AttemptSideBySide(0, judged);
  TRenameWayChoice& choice = WayChoices_[*device];
  std::size_t renames = 0;
  for (std::size_t i = 0; i < judged; ++i) renames += Block_.Has(i, TJudgements::kPending) ? 1U : 0U;
  // A try leaves its first rename untimed: the pass's renamer may not have
  // renamed on this volume yet, and learns there what the volume refuses.
  const TRenameWayChoice::TPlan plan = choice.Next(renames > 0 ? renames - 1 : 0);
  std::size_t from = 0;
  if (plan.Trial > 0) {
    while (from < judged && !Block_.Has(from, TJudgements::kPending)) ++from;
    if (from < judged) {
      ++from;
      if (const std::size_t done = AttemptOneByOne(0, from); done < from) return done;
    }
    for (const TRenameWay way : {plan.TrialWay, Other(plan.TrialWay)}) {
      const std::size_t trialFrom = from;
      std::size_t pending = 0;
      while (from < judged && pending < plan.Trial) pending += Block_.Has(from++, TJudgements::kPending) ? 1U : 0U;
      if (const std::size_t done = TimedAttempt(choice, way, trialFrom, from); done < from) return done;
    }
  }
  return AttemptWay(plan.Way, from, judged);
}

std::size_t TSearchThread::AttemptWay(TRenameWay way, std::size_t from, std::size_t to) {
  std::size_t renames = 0;
  for (std::size_t i = from; i < to && renames < 2; ++i) renames += Block_.Has(i, TJudgements::kPending) ? 1U : 0U;
  return way == TRenameWay::SideBySide && renames > 1 ? AttemptSideBySide(from, to) : AttemptOneByOne(from, to);
}

// The renames of entries from..to one way, timed for the choice. Only a range
// gone to its end is timed: a stop cuts it short.
std::size_t TSearchThread::TimedAttempt(TRenameWayChoice& choice, TRenameWay way, std::size_t from, std::size_t to) {
  std::size_t renames = 0;
  for (std::size_t i = from; i < to; ++i) renames += Block_.Has(i, TJudgements::kPending) ? 1U : 0U;
  const auto start = std::chrono::steady_clock::now();
  const std::size_t done = AttemptWay(way, from, to);
  if (done == to) choice.Took(way, renames, std::chrono::steady_clock::now() - start);
  return done;
}

std::size_t TSearchThread::AttemptOneByOne(std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i) {
    if (!Block_.Has(i, TJudgements::kPending)) continue;
    if (Stopped()) return i;
    TPassRow& entry = Block_.Rows[i];
    const TProcessList& record = FoundList[i];
    const Unwritable unwritable = record.FindData.FlagsUnread ? Unwritable::Leave : Unwritable::Move;
    AttemptingRow_ = Block_.Index[i];
    AttemptingFolder_ = &record.Folder->Path();
    entry.Status =
        Block_.Has(i, TJudgements::kLookedAhead)
            ? Step_->Attempt(*record.Folder, record.FindData.cFileName, entry.NewName, entry.SystemError,
                             Block_.Looked[i], unwritable)
            : Step_->Attempt(*record.Folder, record.FindData.cFileName, entry.NewName, entry.SystemError, unwritable);
    // Read-only after all: no row, as if the listing had seen it; its intent is withdrawn.
    if (entry.SystemError == kLeftUnwritable) Block_.Mark(i, TJudgements::kRow, false);
  }
  return to;
}

// The volume of a block that may run side by side: every rename of it is on
// one whose calls wait for a server or a FUSE daemon, and there are two at
// least (any volume, timed). The first rename's volume stands for the block's.
std::optional<std::uint64_t> TSearchThread::SideBySideVolume(std::size_t judged) {
  if (Concurrency_ == TRenameConcurrency::OneByOne) return std::nullopt;
  std::size_t pending = 0;
  std::optional<std::uint64_t> first;
  for (std::size_t i = 0; i < judged; ++i) {
    if (!Block_.Has(i, TJudgements::kPending)) continue;
    ++pending;
    const std::uint64_t device = FoundList[i].Folder->Id().Device;
    if (!first) first = device;
    if (Concurrency_ == TRenameConcurrency::ByVolume && !LatencyBound(device)) return std::nullopt;
  }
  if (pending < 2) return std::nullopt;
  return first;
}

// The mount table is read once per volume the renames meet.
bool TSearchThread::LatencyBound(std::uint64_t device) {
  if (!LatencyDevice_ || *LatencyDevice_ != device) {
    LatencyDevice_ = device;
    const TVolumeNature nature = NatureOfDevice(device);
    LatencyBound_ = nature.Network || !nature.KeepsInodeNumbers;
  }
  return LatencyBound_;
}

void TSearchThread::StartPool() {
  for (std::size_t i = 0; i < kRenamesInFlight; ++i) {
    auto worker = std::make_unique<TWorkerRenamer>();
    worker->Renamer.KeepUntouched(Untouched_);
    if (Journal_ != nullptr)
      worker->Renamer.OnTemporaryName([this, &own = *worker](std::string_view name) {
        const std::lock_guard lock(JournalLock_);
        return Journal_->Temporary(own.Row, *own.Folder, name);
      });
    Workers_.push_back(std::move(worker));
  }
  Pool_ = std::make_unique<TRenamePool>(kRenamesInFlight);
}

// The block's renames with several in flight; their intents are on record
// already, and the outcomes go there once all have ended, in the block's
// order. A stop starts no more of them; those in flight end and count.
std::size_t TSearchThread::AttemptSideBySide(std::size_t from, std::size_t to) {
  if (!Pool_) StartPool();
  PoolJobs_.clear();
  PoolEntries_.clear();
  for (std::size_t i = from; i < to; ++i) {
    if (!Block_.Has(i, TJudgements::kPending)) continue;
    PoolJobs_.push_back(
        TPoolRename{FoundList[i].Folder->Id(), FoundList[i].FindData.cFileName, Block_.Rows[i].NewName});
    PoolEntries_.push_back(i);
  }
  PoolStranded_.assign(PoolJobs_.size(), std::string());
  const auto attempt = [this](std::size_t worker, std::size_t job) {
    const std::size_t at = PoolEntries_[job];
    TPassRow& entry = Block_.Rows[at];
    const TProcessList& record = FoundList[at];
    TWorkerRenamer& own = *Workers_[worker];
    own.Row = Block_.Index[at];
    own.Folder = &record.Folder->Path();
    own.NewName.assign(entry.NewName);
    const Unwritable unwritable = record.FindData.FlagsUnread ? Unwritable::Leave : Unwritable::Move;
    entry.Status = AttemptRename(own.Renamer, *record.Folder, record.FindData.cFileName, own.NewName, entry.SystemError,
                                 Block_.Has(at, TJudgements::kLookedAhead) ? &Block_.Looked[at] : nullptr, unwritable);
    if (own.NewName != entry.NewName) PoolStranded_[job] = own.NewName;
    // Read-only after all: no row, as if the listing had seen it; its intent is withdrawn. (Each
    // worker marks its own entries only.)
    if (entry.SystemError == kLeftUnwritable) Block_.Mark(at, TJudgements::kRow, false);
  };
  const std::size_t started = Pool_->Run(PoolJobs_, attempt, [this] { return Stopped(); });
  for (std::size_t job = 0; job < started; ++job)
    if (!PoolStranded_[job].empty()) Block_.Rows[PoolEntries_[job]].NewName = std::move(PoolStranded_[job]);
  return started < PoolEntries_.size() ? PoolEntries_[started] : to;
}

// What the listing would have given the entry; false when that is no row.
bool TSearchThread::LookAgain(TProcessList& record) {
  const std::optional<std::uint32_t> attributes = LookedAttributes(*record.Folder, record.FindData.cFileName);
  record.FindData.FlagsUnread = false;
  if (!attributes) return false;  // gone: the listing leaves it out
  record.FindData.dwFileAttributes = *attributes;
  return IsPlainFile(record.FindData);
}

bool TSearchThread::TakeReadFlags(TProcessList& record, const TFileFacts& facts) {
  if (!record.FindData.FlagsUnread) return true;
  if (const std::optional<bool> unwritable = facts.Unwritable) {
    record.FindData.FlagsUnread = false;
    record.FindData.dwFileAttributes = EntryAttributes(
        EntryKind::Regular, *unwritable ? RenameFlags::Set : RenameFlags::None, record.FindData.cFileName);
    return true;
  }
  const std::optional<std::uint32_t> attributes = LookedAttributes(*record.Folder, record.FindData.cFileName);
  record.FindData.FlagsUnread = false;
  if (!attributes) return false;
  record.FindData.dwFileAttributes = *attributes;
  return true;
}

// The journal takes its outcomes first, as views of the block's names; then
// the names move into the rows, so a row costs no copy of them.
void TSearchThread::SettleBlock(std::size_t judged, std::size_t attempted) {
  Entries_.clear();
  Withdrawn_.clear();
  constexpr std::uint8_t kRowOrPending = TJudgements::kRow | TJudgements::kPending;
  for (std::size_t i = 0; i < judged; ++i) {
    if (!Block_.Has(i, kRowOrPending)) continue;
    const TPassRow& entry = Block_.Rows[i];
    const TProcessList& record = FoundList[i];
    const TJournalEntry journalEntry{
        Block_.Index[i], record.Folder->Path(), record.FindData.cFileName,           entry.NewName,
        entry.Status,    entry.SystemError,     Block_.Has(i, TJudgements::kPending)};
    NoteOutcome(journalEntry, i < attempted, Block_.Has(i, TJudgements::kRow));
  }
  SettleOutcomes();
  for (std::size_t i = 0; i < attempted; ++i) {
    if (!Block_.Has(i, kRowOrPending)) continue;
    // A withdrawn intent's number is never given again: a journal read after a
    // crash would take the withdrawal for the new intent's.
    RowsSoFar_ = Block_.Index[i] + 1;
    if (!Block_.Has(i, TJudgements::kRow)) continue;
    TProcessList& record = FoundList[i];
    RecordEntry(*record.Folder, std::move(record.FindData), Block_.Rows[i]);
  }
  // The block's rows go out together: one lock and at most one wake for them all.
  Rows_.PushAll(Batch_);
}

// One handle per level at most: the sub-folders' names and identities come
// with their parent's reading, and a folder's handle is let go before its last
// sub-folder is entered, so a chain of nested folders holds no handle per level.
void TSearchThread::ScanSubFolders(std::shared_ptr<const TFolderHandle> folder, std::vector<TSubFolder> subFolders) {
  for (std::size_t i = 0; i < subFolders.size(); ++i) {
    if (Stopped()) return;
    const TSubFolder& listed = subFolders[i];
    // The path is made only where it is needed: a frame that kept it while the
    // walk goes deeper would hold a copy of the path per level.
    const auto subPath = [&] { return folder->Path() + listed.Name + PathSeparator; };
    if (OnDescending_) OnDescending_(subPath());
    auto sub = std::make_shared<TFolderHandle>();
    const int error = folder->OpenSub(listed.Name, listed.Id, *sub);
    if (error != 0) {
      // gone: not entered; no longer the folder listed: not entered, and said
      if (error != ENOENT) ReportUnreadable(subPath(), error);
      if (i + 1 == subFolders.size()) folder.reset();
      continue;
    }
    if (i + 1 == subFolders.size()) folder.reset();
    std::vector<TSubFolder> inner = ScanFolder(sub);
    ScanSubFolders(std::move(sub), std::move(inner));
  }
}

void TSearchThread::RecordEntry(const TFolderHandle& folder, TFindData&& findData, TPassRow& judged) {
  if (!IsPlainFile(findData)) return;
  PushRow(folder, std::move(findData.cFileName), std::move(judged.NewName), judged.Status, judged.SystemError);
}

void TSearchThread::ReportUnreadable(const std::string& folder, int error) {
  Rows_.PushUnreadable(TUnreadableFolder{folder, error});
}

// The records' room stays for the next folder; the listings and the folder handles go.
void TSearchThread::FreeFoundList() {
  // Views of the entries freed here: the next folder's first block must not find them.
  LookedNames_.clear();
  EarlierLooked_.clear();
  FoundList.clear();
  AheadList_.clear();
  Listings_.clear();
  NextListing_ = 0;
  Arranged_.clear();
  NextArranged_ = 0;
  ChainRecords_.clear();
  Listed_.reset();
  NextListed_ = 0;
}

}  // namespace vt
