#include "results/JournalRowStream.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <list>
#include <system_error>
#include <utility>
#include <vector>

#include "passes/JournalFormat.h"
#include "platform/TrustedFolder.h"
#include "results/JournalBlocks.h"
#include "results/JournalSettle.h"

namespace vt {
namespace {

struct TFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::uint32_t LittleEndian32(const unsigned char* bytes) {
  return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
         std::uint32_t{bytes[3]} << 24;
}

// A journal file a block at a time, with the rule NextJournalBlock applies to
// a journal held whole: the blocks end at the first cut or damaged one.
class TJournalFile {
 public:
  int Open(const std::string& path) {
    std::error_code error;
    Left_ = std::filesystem::file_size(path, error);
    if (error) return error.value();
    errno = 0;
    File_.reset(std::fopen(path.c_str(), "rb"));
    if (!File_) return errno != 0 ? errno : EIO;
    return ReadSignature();
  }

  int OpenOwn(const std::string& folder, const std::string& name) {
    std::FILE* file = nullptr;
    if (const int error = OpenOwnFile(folder, name, EffectiveUid(), file, Left_)) return error;
    File_.reset(file);
    return ReadSignature();
  }

 private:
  int ReadSignature() {
    std::string signature(kJournalSignature.size(), '\0');
    if (!Read(signature.data(), signature.size()) || signature != kJournalSignature) return EINVAL;
    return 0;
  }

 public:
  // The next block's payload, into payload; false at the end of the intact blocks.
  bool Next(std::string& payload) {
    unsigned char head[kJournalBlockHeader];
    if (!Read(head, sizeof head)) return false;
    const std::uint32_t length = LittleEndian32(head);
    if (length == 0 || length > Left_) return false;
    payload.resize(length);
    return Read(payload.data(), length) && Crc32(payload) == LittleEndian32(head + 4);
  }

 private:
  bool Read(void* into, std::size_t count) {
    if (count > Left_ || std::fread(into, 1, count, File_.get()) != count) return false;
    Left_ -= count;
    return true;
  }

  std::unique_ptr<std::FILE, TFileCloser> File_;
  std::uint64_t Left_ = 0;
};

// The first row a block of rows names, which is its lowest.
std::optional<std::uint64_t> FirstRowOf(std::string_view payload) {
  const auto type = static_cast<TJournalBlock>(payload[0]);
  if (type != TJournalBlock::Intents && type != TJournalBlock::Rows) return std::nullopt;
  TJournalCursor cursor(payload.substr(1));
  std::uint64_t count = 0;
  std::uint64_t index = 0;
  if (!cursor.Number(count) || count == 0 || !cursor.Number(index)) return std::nullopt;
  return index;
}

}  // namespace

// The rows read but not yet handed on. A row leaves once a block begins past
// it, settled; one without its outcome holds itself and the rows after it to
// the end. A block that names a row already handed on breaks the order: the
// stream then cannot give what a whole read gives. The rows' texts view the
// payloads of the blocks that named them, which are kept while such a row is.
class TJournalRowStream::TRowWindow {
 public:
  TJournalEntry& At(std::uint64_t index) {
    if (Gone(index)) return Scratch_ = TJournalEntry{};
    auto [it, added] = Rows_.try_emplace(index);
    if (added) {
      it->second.Row = index;
      it->second.Status = TRenameStatus::rsCanBeRenamed;  // until its outcome is read
    }
    Named(index);
    return it->second;
  }
  TJournalEntry* Find(std::uint64_t index) {
    if (Gone(index)) return nullptr;
    const auto it = Rows_.find(index);
    if (it == Rows_.end()) return nullptr;
    Named(index);
    return &it->second;
  }
  void Withdraw(std::uint64_t index) {
    if (TJournalEntry* row = Find(index)) row->Withdrawn = true;
  }

  // Room for the next block's payload, which stays where it is while kept.
  std::string& NextPayload() {
    LastNamed_.reset();
    if (Payloads_.empty() || Payloads_.back().first) Payloads_.emplace_back();
    return Payloads_.back().second;
  }
  // After the payload was read: kept while a row it named is held.
  void KeepPayload() {
    if (!Payloads_.empty()) Payloads_.back().first = LastNamed_;
  }
  // A text the rows hold that no payload has.
  std::string_view Own(const std::string& text) { return Owned_.emplace_back(text); }

  // A withdrawn rename gets no outcome later (the pass never gives its number
  // again): it leaves no row, and holds back none of the rows after it.
  template <typename THand>
  void HandBefore(std::uint64_t bound, const THand& hand) {
    for (auto it = Rows_.begin();
         it != Rows_.end() && it->first < bound && (it->second.Settled || it->second.Withdrawn); it = Rows_.erase(it)) {
      Handed_ = it->first;
      if (it->second.Settled) hand(it->second);
    }
    DropPayloads();
  }

  // At the end: a withdrawn rename without outcome leaves no row, and the other
  // rows without one are settled (settle gives the rows it drops); the rows
  // held are every row from the first of them on, as the settling needs.
  template <typename TSettle, typename THand>
  void HandRest(const TSettle& settle, const THand& hand) {
    std::vector<TJournalEntry*> rest;
    for (auto& [index, row] : Rows_)
      if (row.Settled || !row.Withdrawn) rest.push_back(&row);
    const std::vector<bool> dropped = settle(rest);
    for (std::size_t k = 0; k < rest.size(); ++k)
      if (!dropped[k]) hand(*rest[k]);
    Rows_.clear();
  }

  bool InOrder() const { return InOrder_; }

 private:
  bool Gone(std::uint64_t index) {
    if (!Handed_ || index > *Handed_) return false;
    InOrder_ = false;
    return true;
  }
  void Named(std::uint64_t index) { LastNamed_ = std::max(LastNamed_.value_or(0), index); }
  // Rows leave in order: a payload whose rows all left is no longer viewed.
  void DropPayloads() {
    const std::optional<std::uint64_t> first =
        Rows_.empty() ? std::nullopt : std::optional<std::uint64_t>(Rows_.begin()->first);
    std::erase_if(Payloads_, [&](const auto& payload) {
      return payload.first && (!first || *payload.first < *first) && &payload != &Payloads_.back();
    });
  }

  std::map<std::uint64_t, TJournalEntry> Rows_;
  std::optional<std::uint64_t> Handed_;
  TJournalEntry Scratch_;
  bool InOrder_ = true;
  // Each with the last row it named; none for the one being read. A list: a
  // payload never moves, so a short one's views stay good too.
  std::list<std::pair<std::optional<std::uint64_t>, std::string>> Payloads_;
  std::optional<std::uint64_t> LastNamed_;
  std::list<std::string> Owned_;
};

TJournalRowStream::TJournalRowStream(std::string path) : Path_(std::move(path)) {}

TJournalRowStream::TJournalRowStream(std::string folder, std::string name)
    : Path_(folder + name), OwnFolder_(std::move(folder)), OwnName_(std::move(name)) {}

TExpected<TJournal> TJournalRowStream::LoadWhole() const {
  return OwnName_.empty() ? LoadJournal(Path_) : LoadOwnJournal(OwnFolder_, OwnName_);
}

TExpected<void> TJournalRowStream::Scan(TJournal& journal) {
  journal = TJournal{};
  Read_ = 0;
  bool inOrder = true;
  const auto count = [&](const TResultRow& /*row*/, const std::optional<TFileIdentity>& /*file*/) { ++Read_; };
  if (const int error = Walk(TWalk::Scan, count, inOrder, &journal)) return Unexpected(JournalReadError(error, Path_));
  if (inOrder) return {};
  TExpected<TJournal> loaded = LoadWhole();
  if (!loaded) return Unexpected(loaded.Error());
  journal = std::move(loaded).Value();
  Read_ = journal.Rows.size();
  return {};
}

TJournalRowStream::~TJournalRowStream() = default;

TExpected<void> TJournalRowStream::Open(const TRowCallback& look) {
  Settled_.clear();
  Whole_.reset();
  Rows_ = 0;
  Renamed_ = 0;
  const auto count = [&](const TResultRow& row, const std::optional<TFileIdentity>& /*file*/) {
    ++Rows_;
    if (row.Status == TRenameStatus::rsOk) ++Renamed_;
    if (look) look(row);
  };
  bool inOrder = true;
  if (const int error = Walk(TWalk::Decide, count, inOrder)) return Unexpected(JournalReadError(error, Path_));
  if (inOrder) return {};
  TExpected<TJournal> loaded = LoadWhole();
  if (!loaded) return Unexpected(loaded.Error());
  auto whole = std::make_unique<TJournal>(std::move(loaded).Value());
  SettleFromDisk(*whole);
  Whole_ = std::move(whole);
  Rows_ = 0;
  Renamed_ = 0;
  ForEachIdentified(count);
  return {};
}

bool TJournalRowStream::ForEach(const TRowCallback& row) {
  return ForEachIdentified([&](const TResultRow& read, const std::optional<TFileIdentity>& /*file*/) { row(read); });
}

bool TJournalRowStream::ForEachIdentified(const TIdentifiedRowCallback& row) {
  Folder_.reset();
  if (Whole_) {
    for (const TJournalEntry& read : Whole_->Rows) Hand(read, row);
    return true;
  }
  bool inOrder = true;
  return Walk(TWalk::Replay, row, inOrder) == 0 && inOrder;
}

int TJournalRowStream::Walk(TWalk walk, const TIdentifiedRowCallback& row, bool& inOrder, TJournal* marked) {
  TJournalFile file;
  if (const int error = OwnName_.empty() ? file.Open(Path_) : file.OpenOwn(OwnFolder_, OwnName_)) return error;
  TJournalHeader header;
  std::string first;
  if (!file.Next(first) || static_cast<TJournalBlock>(first[0]) != TJournalBlock::Header ||
      !journal_blocks::ReadHeader(first, header))
    return EINVAL;
  TRowWindow rows;
  const auto hand = [&](const TJournalEntry& read) { Hand(read, row); };
  journal_blocks::TJournalMarks marks;
  // A payload lasts until the next block is read: the rows a recover left are kept apart.
  std::string nextLeft, left;
  for (std::string* payload = &rows.NextPayload(); file.Next(*payload); payload = &rows.NextPayload()) {
    if (const std::optional<std::uint64_t> firstRow = FirstRowOf(*payload)) rows.HandBefore(*firstRow, hand);
    // A block that checks out but cannot be read is damage all the same: the rows end there.
    if (!journal_blocks::ReadBlock(*payload, rows, marks)) break;
    rows.KeepPayload();
    const auto type = static_cast<TJournalBlock>((*payload)[0]);
    if (type == TJournalBlock::Left) nextLeft = payload->substr(1);
    if (type == TJournalBlock::Undone) left = std::exchange(nextLeft, {});
  }
  const auto settle = [&](const std::vector<TJournalEntry*>& rest) {
    return SettleRest(walk, header.StartedUtcNs, rest, [&](const std::string& text) { return rows.Own(text); });
  };
  rows.HandRest(settle, hand);
  inOrder = rows.InOrder();
  if (marked != nullptr) {
    marked->Header = header;
    marked->End = marks.End;
    marked->Recovered = marks.Recovered;
    marked->Undone = marks.Undone;
    // On the heap, never inside the string: a view of it survives a move of the journal.
    marked->Bytes.reserve(std::max<std::size_t>(left.size(), 64));
    marked->Bytes.assign(left);
    marked->LeftRows = marked->Bytes;
  }
  return 0;
}

// Open looks at the disk once; a later read keeps what it found.
std::vector<bool> TJournalRowStream::SettleRest(TWalk walk, std::uint64_t startedUtcNs,
                                                const std::vector<TJournalEntry*>& rest, const TOwnText& own) {
  std::vector<bool> dropped(rest.size(), false);
  if (walk == TWalk::Scan) return dropped;
  const bool decide = walk == TWalk::Decide;
  std::vector<TJournalEntry*> open;
  std::vector<std::size_t> at;  // of each open row in rest
  for (std::size_t k = 0; k < rest.size(); ++k) {
    TJournalEntry& row = *rest[k];
    if (!row.Settled && !decide) {
      if (const auto known = Settled_.find(row.Row); known != Settled_.end()) {
        dropped[k] = !known->second;
        if (known->second) {
          row.Status = known->second->Status;
          row.NewName = known->second->NewName;
          row.Settled = true;
        }
        continue;
      }
    }
    if (!dropped[k]) {
      open.push_back(&row);
      at.push_back(k);
    }
  }
  std::vector<bool> unsettled(open.size());
  for (std::size_t i = 0; i < open.size(); ++i) unsettled[i] = !open[i]->Settled;
  TDiskSettler disk(startedUtcNs);
  std::vector<bool> openDropped;
  SettleRowsFromDisk(open, disk, openDropped,
                     [&](TJournalEntry& row, const std::string& name) { row.NewName = own(name); });
  for (std::size_t i = 0; i < open.size(); ++i) {
    dropped[at[i]] = openDropped[i];
    if (decide && unsettled[i])
      Settled_[open[i]->Row] =
          openDropped[i] ? std::nullopt
                         : std::optional<TSettledRow>(TSettledRow{open[i]->Status, std::string(open[i]->NewName)});
  }
  return dropped;
}

void TJournalRowStream::Hand(const TJournalEntry& read, const TIdentifiedRowCallback& row) {
  if (!Folder_ || *Folder_ != read.Folder) Folder_ = std::make_shared<const std::string>(read.Folder);
  TResultRow made;
  made.Folder = Folder_;
  made.OldName = read.OldName;
  made.NewName = read.NewName;
  made.Status = read.Status;
  made.SystemError = read.Error;
  row(made, read.Identity);
}

}  // namespace vt
