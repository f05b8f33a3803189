#include "results/PassHistory.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <unordered_map>

#include "platform/AppendFile.h"
#include "results/JournalBlocks.h"
#include "results/JournalReader.h"
#include "results/JournalRowStream.h"
#include "results/PassJournals.h"
#include "results/ResultFile.h"

namespace vt {
namespace {

// Most headers fit the first read; a longer one (a deep folder, long masks) is read again whole.
constexpr std::size_t kFirstRead = 4096;
constexpr std::size_t kHeaderBytes = std::size_t{64} * 1024;
// The end mark, behind any Undone marks and a Left block of the rows a recover
// left: the first read holds it unless many rows were left.
constexpr std::size_t kFirstTailRead = 4096;
constexpr std::size_t kTailBytes = std::size_t{64} * 1024;
constexpr std::size_t kShortestId = 6;
constexpr std::size_t kShortestTyped = 4;

int ReadRange(std::ifstream& in, std::uint64_t from, std::size_t count, std::string& bytes) {
  bytes.assign(count, '\0');
  in.clear();
  in.seekg(static_cast<std::streamoff>(from));
  if (!in.read(bytes.data(), static_cast<std::streamsize>(count))) return EIO;
  return 0;
}

// A result file that could not be read; EINVAL when the system had no part in it.
TError ReadFailure(const TResultFileFailure& failure, const std::string& path) {
  return TError{failure.SystemError != 0 ? failure.SystemError : EINVAL, TErrorKind::Read, path};
}

bool ReadHeaderBlock(std::string_view start, TJournalHeader& header) {
  std::size_t offset = kJournalSignature.size();
  const std::optional<std::string_view> first = IsJournal(start) ? NextJournalBlock(start, offset) : std::nullopt;
  return first && static_cast<TJournalBlock>((*first)[0]) == TJournalBlock::Header &&
         journal_blocks::ReadHeader(*first, header);
}

// The state from the last block, as ReadPassState tells it, and the counts of
// the end mark found behind the marks of recovers.
void ReadTail(std::string_view tail, THistoryEntry& entry) {
  bool last = true;
  while (const std::optional<TTailBlock> block = LastJournalBlock(tail)) {
    const auto type = static_cast<TJournalBlock>(block->Payload[0]);
    TJournalCursor cursor(block->Payload.substr(1));
    if (type == TJournalBlock::Undone) {
      TUndoneMark mark;
      if (!journal_blocks::ReadUndone(cursor, mark)) return;
      if (last) entry.State = mark.State == TUndoneState::Undone ? TPassState::Undone : TPassState::PartlyUndone;
    } else if (type == TJournalBlock::Recovered) {
      if (last) entry.State = TPassState::Undone;
    } else if (type == TJournalBlock::End) {
      std::uint64_t rows = 0;
      std::uint8_t how = 0;
      if (!cursor.Number(rows) || !cursor.Byte(how)) return;
      if (last) entry.State = TPassState::CanBeUndone;
      entry.Rows = rows;
      entry.End = static_cast<TJournalEnd>(how);
      if (std::uint64_t renamed = 0; cursor.Number(renamed)) entry.Renamed = renamed;
      return;
    } else if (type != TJournalBlock::Left) {
      return;  // rows: the pass never ended
    }
    last = false;
    tail = tail.substr(0, block->Start);
  }
}

std::uint64_t Fnv1a(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ULL;
  }
  return hash;
}

std::string_view FileName(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool IsHex(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// Each id as long as it must be to be told from every other.
void GiveIds(std::vector<THistoryEntry>& entries) {
  std::vector<std::string> keys;
  keys.reserve(entries.size());
  for (const THistoryEntry& entry : entries) keys.push_back(entry.Key);
  std::sort(keys.begin(), keys.end());
  for (THistoryEntry& entry : entries) {
    const auto at = std::lower_bound(keys.begin(), keys.end(), entry.Key);
    std::size_t shared = 0;
    for (const auto neighbour : {at - (at == keys.begin() ? 0 : 1), at + 1}) {
      if (neighbour == at || neighbour == keys.end()) continue;
      const auto differ = std::mismatch(entry.Key.begin(), entry.Key.end(), neighbour->begin(), neighbour->end());
      shared = std::max(shared, static_cast<std::size_t>(differ.first - entry.Key.begin()));
    }
    entry.Id = entry.Key.substr(0, std::max(kShortestId, shared + 1));
  }
}

// Where the renames of a pass took its files: old path to new path.
using TMoves = std::unordered_map<std::string, std::string>;

TExpected<TMoves> MovesOf(const THistoryEntry& entry) {
  if (entry.Kind == THistoryKind::Orphan) {
    TMoves moves;
    const TResultFileStatus read = StreamResultFile(entry.Journal, [&moves](const TResultRow& row) {
      if (row.KnownStatus() == TRenameStatus::rsOk && row.Folder)
        moves.emplace(*row.Folder + row.OldName, *row.Folder + row.NewName);
      return true;
    });
    if (!read) return Unexpected(ReadFailure(read.Error(), entry.Journal));
    return moves;
  }
  TExpected<TJournal> loaded = LoadJournal(entry.Journal);
  if (!loaded) return Unexpected(loaded.Error());
  TJournal& journal = *loaded;
  if (!journal.End) SettleFromDisk(journal);
  TMoves moves;
  for (const TJournalEntry& row : journal.Rows) {
    if (row.Status != TRenameStatus::rsOk || row.Withdrawn) continue;
    std::string folder(row.Folder);
    moves.emplace(folder + std::string(row.OldName), folder + std::string(row.NewName));
  }
  return moves;
}

// The path a later pass gave a file at path: its own rename, or one of a
// folder above it. Nothing when the pass left it where it was.
std::optional<std::string> MovedTo(const TMoves& moves, const std::string& path) {
  if (const auto it = moves.find(path); it != moves.end()) return it->second;
  for (std::size_t slash = path.rfind('/'); slash != std::string::npos && slash > 0;
       slash = path.rfind('/', slash - 1)) {
    if (const auto it = moves.find(path.substr(0, slash)); it != moves.end()) return it->second + path.substr(slash);
  }
  return std::nullopt;
}

}  // namespace

std::string HistoryKey(std::string_view journalName) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::uint64_t hash = Fnv1a(journalName);
  std::string key(16, '0');
  for (std::size_t i = key.size(); i-- > 0; hash >>= 4) key[i] = kDigits[hash & 0xF];
  return key;
}

TExpected<THistoryEntry> ReadHistoryEntry(const std::string& journal) {
  std::ifstream in(journal, std::ios::binary | std::ios::ate);
  if (!in) return Unexpected(TError{errno != 0 ? errno : EIO, TErrorKind::Read, journal});
  const std::streamoff size = in.tellg();
  if (size < 0) return Unexpected(TError{EIO, TErrorKind::Read, journal});
  THistoryEntry entry;
  entry.Journal = journal;
  entry.Bytes = static_cast<std::uint64_t>(size);
  std::string bytes;
  TJournalHeader header;
  for (const std::size_t most : {kFirstRead, kHeaderBytes}) {
    if (const int error = ReadRange(in, 0, std::min(most, static_cast<std::size_t>(size)), bytes))
      return Unexpected(TError{error, TErrorKind::Read, journal});
    if (ReadHeaderBlock(bytes, header)) break;
    if (most == kHeaderBytes || bytes.size() < most) return Unexpected(JournalReadError(EINVAL, journal));
  }
  if (header.Kind == TJournalKind::Recover) entry.Kind = THistoryKind::Recover;
  entry.StartedUtcNs = header.StartedUtcNs;
  entry.Folder = std::move(header.Folder);
  entry.What = std::move(header.What);
  for (const std::size_t most : {kFirstTailRead, kTailBytes}) {
    const std::size_t tail = std::min(most, static_cast<std::size_t>(size));
    if (const int error = ReadRange(in, entry.Bytes - tail, tail, bytes))
      return Unexpected(TError{error, TErrorKind::Read, journal});
    ReadTail(bytes, entry);
    if (entry.End || entry.State == TPassState::Unfinished || tail < most) break;
  }
  entry.Running = entry.State == TPassState::Unfinished && IsWriterAlive(journal);
  // A pass cut off, or a journal of an older version: counted through once, against the disk.
  if (!entry.Renamed && !entry.Running) {
    TJournalRowStream rows(journal);
    if (rows.Open()) entry.Renamed = rows.RenamedCount();
  }
  return entry;
}

TExpected<THistoryEntry> ReadOrphanEntry(const std::string& resultFile) {
  std::error_code code;
  const std::uintmax_t size = std::filesystem::file_size(resultFile, code);
  if (code) return Unexpected(TError{code.value(), TErrorKind::Read, resultFile});
  const std::filesystem::file_time_type written = std::filesystem::last_write_time(resultFile, code);
  if (code) return Unexpected(TError{code.value(), TErrorKind::Read, resultFile});
  THistoryEntry entry;
  entry.Kind = THistoryKind::Orphan;
  entry.Journal = resultFile;
  entry.Bytes = size;
  entry.State = TPassState::CanBeUndone;
  entry.End = TJournalEnd::Completed;
  const auto since = std::chrono::file_clock::to_sys(written).time_since_epoch();
  entry.StartedUtcNs = static_cast<std::uint64_t>(
      std::max<std::int64_t>(0, std::chrono::duration_cast<std::chrono::nanoseconds>(since).count()));
  std::uint64_t rows = 0;
  std::uint64_t renamed = 0;
  const TResultFileStatus read = StreamResultFile(resultFile, [&](const TResultRow& row) {
    if (rows++ == 0 && row.Folder) entry.Folder = *row.Folder;
    if (row.KnownStatus() == TRenameStatus::rsOk) ++renamed;
    return true;
  });
  if (!read) return Unexpected(ReadFailure(read.Error(), resultFile));
  entry.Rows = rows;
  entry.Renamed = renamed;
  return entry;
}

std::vector<THistoryEntry> ReadHistory(const std::string& folder) {
  std::vector<THistoryEntry> entries;
  const std::vector<TRecordFile> records = ListRecords(folder);
  for (auto it = records.rbegin(); it != records.rend(); ++it) {
    const bool orphan = it->Journal.empty();
    const std::string& path = orphan ? it->Result : it->Journal;
    TExpected<THistoryEntry> entry = orphan ? ReadOrphanEntry(path) : ReadHistoryEntry(path);
    if (!entry) continue;
    // A recover that ended went with its journal, or left it for its own pass to undo again.
    if (entry->Kind == THistoryKind::Recover && (entry->Running || entry->State != TPassState::Unfinished)) continue;
    entry->Key = HistoryKey(FileName(path));
    entries.push_back(std::move(entry).Value());
  }
  // Orphans are ordered by when they were written, among the journals by when they started.
  std::stable_sort(entries.begin(), entries.end(),
                   [](const THistoryEntry& a, const THistoryEntry& b) { return a.StartedUtcNs > b.StartedUtcNs; });
  GiveIds(entries);
  return entries;
}

bool Stands(const THistoryEntry& entry) {
  return entry.Kind == THistoryKind::Pass && !entry.Running &&
         (entry.State == TPassState::CanBeUndone || entry.State == TPassState::Unfinished);
}

THistoryMatch FindHistoryEntry(const std::vector<THistoryEntry>& entries, std::string_view text) {
  THistoryMatch match;
  const bool id = text.size() >= kShortestTyped && text.size() <= 16 && IsHex(text);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string_view name = FileName(entries[i].Journal);
    const std::string_view stem = name.substr(0, name.size() - kJournalExtension.size());
    if ((id && entries[i].Key.starts_with(text)) || text == name || text == stem) {
      if (match.Candidates++ == 0) match.Index = i;
    }
  }
  if (match.Candidates > 1) match.Index.reset();
  return match;
}

TExpected<TLaterPasses> FindLaterPasses(const std::vector<THistoryEntry>& entries, std::size_t chosen) {
  TLaterPasses later;
  TExpected<TMoves> own = MovesOf(entries[chosen]);
  if (!own) return Unexpected(own.Error());
  // Where each file of the chosen pass is now, and whether a later pass moved it.
  struct TTracked {
    std::string Path;
    bool Moved = false;
  };
  std::vector<TTracked> files;
  files.reserve(own->size());
  for (auto& [from, to] : *own) files.push_back(TTracked{std::move(to), false});
  for (std::size_t i = chosen; i-- > 0;) {
    if (!Stands(entries[i])) continue;
    TExpected<TMoves> moves = MovesOf(entries[i]);
    if (!moves) return Unexpected(moves.Error());
    std::uint64_t touched = 0;
    for (TTracked& file : files) {
      std::optional<std::string> moved = MovedTo(*moves, file.Path);
      if (!moved) continue;
      file.Path = std::move(*moved);
      file.Moved = true;
      ++touched;
    }
    if (touched > 0) later.Later.push_back(TLaterPass{i, touched});
  }
  later.Files = static_cast<std::uint64_t>(
      std::count_if(files.begin(), files.end(), [](const TTracked& file) { return file.Moved; }));
  // Undone newest first: the newest has the smallest index.
  std::sort(later.Later.begin(), later.Later.end(),
            [](const TLaterPass& a, const TLaterPass& b) { return a.Index < b.Index; });
  return later;
}

}  // namespace vt
