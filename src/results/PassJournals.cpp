#include "results/PassJournals.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "platform/AppendFile.h"
#include "platform/CalendarTime.h"
#include "platform/TrustedFolder.h"
#include "results/AutomaticResultFiles.h"
#include "results/JournalRowStream.h"
#include "results/ResultFile.h"

namespace vt {

namespace fs = std::filesystem;

namespace {

constexpr unsigned kMostPerSecond = 999;
// Enough for the header of any journal.
constexpr std::size_t kHeaderBytes = std::size_t{64} * 1024;
constexpr std::size_t kFirstHeaderRead = 4096;

bool EndsWith(const std::string& text, std::string_view end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string WithoutExtension(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  return dot == std::string::npos ? path : path.substr(0, dot);
}

bool IsJournalName(const std::string& name) {
  return EndsWith(name, kJournalExtension) && IsAutomaticFileName(WithoutExtension(name) + ".vtr");
}

std::optional<TJournalHeader> ReadHeaderOnly(const std::string& folder, const std::string& name) {
  // Most headers fit the first read: a folder listed reads little of each journal.
  for (const std::size_t most : {kFirstHeaderRead, kHeaderBytes}) {
    std::string bytes;
    if (ReadOwnFile(folder, name, EffectiveUid(), most, bytes) != 0) return std::nullopt;
    TJournal journal;
    if (ReadJournal(bytes, journal)) return journal.Header;
    if (bytes.size() < most) return std::nullopt;
  }
  return std::nullopt;
}

// A record's name in its folder (records are listed as folder + name).
std::string NameIn(const std::string& folder, const std::string& path) { return path.substr(folder.size()); }

TPassedOver PassedOver(const std::string& path, const TJournal& journal, TPassState state) {
  TPassedOver over;
  over.Journal = path;
  over.Kind = journal.Header.Kind;
  over.State = state;
  over.StartedUtcNs = journal.Header.StartedUtcNs;
  if (journal.Undone) {
    over.UndoneUtcNs = journal.Undone->UtcNs;
    over.RowsLeft = journal.Undone->RowsLeft;
  }
  for (const TJournalEntry& row : LeftRowsOf(journal)) {
    if (over.Left.size() == kLeftRowsKept) break;
    over.Left.push_back(TPassedOver::TRow{std::string(row.Folder) + std::string(row.OldName), row.Status, row.Error});
  }
  return over;
}

}  // namespace

std::uint64_t UtcNowNs() {
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
          .count());
}

std::string UtcText(std::uint64_t utcNs) {
  const auto seconds = static_cast<std::time_t>(utcNs / 1000000000U);
  const std::tm utc = UtcTime(seconds);
  char text[40];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc);
  return text;
}

std::string JournalPathFor(const std::string& resultPath) {
  return WithoutExtension(resultPath) + std::string(kJournalExtension);
}

std::string ResultPathFor(const std::string& journalPath) { return WithoutExtension(journalPath) + ".vtr"; }

TExpected<void> CreatePassJournal(const std::string& folder, const std::optional<std::string>& resultPath,
                                  const TJournalHeader& header, TDurability durability, TPassJournalWriter& writer) {
  if (resultPath) return writer.Create(JournalPathFor(*resultPath), durability, header);
  const std::time_t now = std::time(nullptr);
  const std::tm local = LocalTime(now);
  for (unsigned sequence = 1; sequence <= kMostPerSecond; ++sequence) {
    const std::string path = JournalPathFor(folder + AutomaticFileName(local, sequence));
    // A result file of that name belongs to another pass.
    if (fs::exists(ResultPathFor(path))) continue;
    TExpected<void> made = writer.Create(path, durability, header);
    if (made || made.Error().Code != EEXIST) return made;
  }
  return Unexpected(TError{EEXIST, TErrorKind::Create, folder});
}

std::vector<TRecordFile> ListRecords(const std::string& folder) {
  std::vector<TRecordFile> legacy;
  std::vector<TRecordFile> journals;
  std::error_code code;
  for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
    const std::string name = it->path().filename().string();
    // Another user's file, or a link, is never read as a record.
    if (!it->is_regular_file(code) || !IsOwnRecord(folder, name)) continue;
    if (IsJournalName(name)) {
      const std::string path = folder + name;
      const std::optional<TJournalHeader> header = ReadHeaderOnly(folder, name);
      // Not ours to judge, nor to remove; but an empty file of a journal's name
      // is one whose header never reached the disk.
      if (!header) {
        if (it->file_size(code) == 0 && !code) RemoveEmptyJournal(path);
        continue;
      }
      journals.push_back(TRecordFile{path, ResultPathFor(path), header->StartedUtcNs});
    } else if (IsAutomaticFileName(name) && !fs::exists(JournalPathFor(folder + name), code)) {
      legacy.push_back(TRecordFile{{}, folder + name, 0});
    }
  }
  std::sort(legacy.begin(), legacy.end(),
            [](const TRecordFile& a, const TRecordFile& b) { return a.Result < b.Result; });
  std::stable_sort(journals.begin(), journals.end(), [](const TRecordFile& a, const TRecordFile& b) {
    return a.StartedUtcNs != b.StartedUtcNs ? a.StartedUtcNs < b.StartedUtcNs : a.Journal < b.Journal;
  });
  legacy.insert(legacy.end(), journals.begin(), journals.end());
  return legacy;
}

namespace {

// The choice of LastRecord, whichever way a journal is read: read(path) takes
// it into journal with its count of rows, settled(path) settles the rows and
// counts those renamed.
template <typename TRead, typename TSettled>
std::optional<TRecordFile> PickLastRecord(const std::string& folder, TJournal& journal,
                                          std::vector<TPassedOver>* passedOver, const TRead& read,
                                          const TSettled& settled) {
  const std::vector<TRecordFile> records = ListRecords(folder);
  for (auto it = records.rbegin(); it != records.rend(); ++it) {
    if (it->Journal.empty()) {
      TResultTable table;
      if (LoadResultFile(it->Result, table) && table.RowCount() > 0) return *it;
      continue;
    }
    if (IsWriterAlive(it->Journal)) continue;  // a pass in progress
    const std::optional<std::size_t> rows = read(NameIn(folder, it->Journal));
    if (!rows) continue;
    if (*rows == 0) {
      RemoveEmptyJournal(it->Journal);
      continue;
    }
    const TPassState state = StateOf(journal);
    if (state == TPassState::Undone) continue;
    const bool unfinishedRecover = journal.Header.Kind == TJournalKind::Recover && state == TPassState::Unfinished;
    if (passedOver != nullptr && (state == TPassState::PartlyUndone || unfinishedRecover))
      passedOver->push_back(PassedOver(it->Journal, journal, state));
    if (journal.Header.Kind != TJournalKind::Rename || state == TPassState::PartlyUndone) continue;
    if (settled() > 0) return *it;
  }
  journal = TJournal{};
  return std::nullopt;
}

}  // namespace

std::optional<TRecordFile> LastRecord(const std::string& folder, TJournal& journal,
                                      std::vector<TPassedOver>* passedOver) {
  const auto read = [&](const std::string& name) -> std::optional<std::size_t> {
    TExpected<TJournal> loaded = LoadOwnJournal(folder, name);
    if (!loaded) return std::nullopt;
    journal = std::move(loaded).Value();
    return journal.Rows.size();
  };
  const auto settled = [&] {
    SettleFromDisk(journal);
    return RenamedRows(journal);
  };
  return PickLastRecord(folder, journal, passedOver, read, settled);
}

std::optional<TRecordFile> LastRecord(const std::string& folder, TJournal& journal,
                                      std::vector<TPassedOver>* passedOver, std::unique_ptr<TJournalRowStream>& rows) {
  rows.reset();
  std::unique_ptr<TJournalRowStream> stream;
  const auto read = [&](const std::string& name) -> std::optional<std::size_t> {
    stream = std::make_unique<TJournalRowStream>(folder, name);
    if (!stream->Scan(journal)) return std::nullopt;
    return static_cast<std::size_t>(stream->ReadCount());
  };
  const auto settled = [&]() -> std::uint64_t { return stream->Open() ? stream->RenamedCount() : 0; };
  std::optional<TRecordFile> picked = PickLastRecord(folder, journal, passedOver, read, settled);
  if (picked) rows = std::move(stream);
  return picked;
}

std::optional<TRecordFile> UnfinishedPass(const std::string& folder, TJournal& journal) {
  const std::vector<TRecordFile> records = ListRecords(folder);
  for (auto it = records.rbegin(); it != records.rend(); ++it) {
    if (it->Journal.empty() || IsWriterAlive(it->Journal)) continue;
    TExpected<TJournal> loaded = LoadOwnJournal(folder, NameIn(folder, it->Journal));
    if (!loaded) continue;
    journal = std::move(loaded).Value();
    if (journal.Rows.empty()) {
      RemoveEmptyJournal(it->Journal);
      continue;
    }
    const TPassState state = StateOf(journal);
    if (journal.Header.Kind != TJournalKind::Rename || state == TPassState::Undone || state == TPassState::PartlyUndone)
      continue;
    if (journal.End) continue;  // ended: the journal is its record
    SettleFromDisk(journal);
    if (RenamedRows(journal) > 0) return *it;
  }
  journal = TJournal{};
  return std::nullopt;
}

void PruneRecords(const std::string& folder, std::size_t kept) { PruneRecords(folder, TRetention{kept, UINT64_MAX}); }

void PruneRecords(const std::string& folder, const TRetention& keep) {
  const std::vector<TRecordFile> records = ListRecords(folder);
  std::error_code ignored;
  std::size_t passes = 0;
  std::uint64_t bytes = 0;
  for (auto it = records.rbegin(); it != records.rend(); ++it) {
    const TRecordFile& record = *it;
    std::uint64_t size = 0;
    for (const std::string& path : {record.Journal, record.Result}) {
      const std::uintmax_t file = path.empty() ? 0 : fs::file_size(path, ignored);
      if (!ignored && !path.empty()) size += file;
    }
    const bool first = it == records.rbegin();
    if (first || (passes < keep.Passes && bytes + size <= keep.Bytes)) {
      ++passes;
      bytes += size;
      continue;
    }
    if (!record.Journal.empty()) {
      if (IsWriterAlive(record.Journal)) continue;
      // Its journal is all that brings its files back.
      const TExpected<TPassState> state = ReadPassState(record.Journal);
      if (state && *state == TPassState::Unfinished) {
        const fs::path journalPath(record.Journal);
        const std::optional<TJournalHeader> header =
            ReadHeaderOnly(journalPath.parent_path().string(), journalPath.filename().string());
        if (header && header->Kind == TJournalKind::Rename) continue;
      }
      fs::remove(record.Journal, ignored);
    }
    fs::remove(record.Result, ignored);
  }
}

}  // namespace vt
