#include "passes/PassJournalWriter.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace vt {
namespace {

// Rows of one block name the same folder again and again; it is written once.
void PutFolder(TFieldWriter& out, std::string_view folder, std::string_view& previous) {
  if (folder == previous && previous.data() != nullptr) {
    out.Number(0);
    return;
  }
  out.Number(folder.size() + 1);
  out.Bytes(folder);
  previous = folder;
}

std::uint64_t ErrorField(int error) { return static_cast<std::uint64_t>(error < 0 ? 0 : error); }

// The most bytes the fields of an intent or of a row that renamed nothing take.
std::size_t MostNamedBytes(const TJournalEntry& entry) {
  return 6 * kMaxNumberBytes + 1 + entry.Folder.size() + entry.OldName.size() + entry.NewName.size();
}

// Of an outcome or a withdrawal.
std::size_t MostOutcomeBytes(const TJournalEntry& entry) { return 4 * kMaxNumberBytes + 1 + entry.NewName.size(); }

void PutOutcome(TFieldWriter& out, const TJournalEntry& entry, std::uint8_t status) {
  out.Number(entry.Row);
  out.Byte(status);
  out.Number(ErrorField(entry.Error));
  // A renamed file is under the name intended; any other row says what its New Name is.
  if (status == static_cast<std::uint8_t>(TRenameStatus::rsOk)) {
    out.Number(0);
    return;
  }
  out.Number(entry.NewName.size() + 1);
  out.Bytes(entry.NewName);
}

}  // namespace

TExpected<void> TPassJournalWriter::Create(const std::string& path, TDurability durability,
                                           const TJournalHeader& header) {
  if (const int error = File_.Create(path, durability)) return Unexpected(TError{error, TErrorKind::Create, path});
  std::string bytes(kJournalSignature);
  const std::size_t begun = BeginBlock(bytes, TJournalBlock::Header);
  AppendNumber(bytes, kJournalVersion);
  AppendNumber(bytes, static_cast<std::uint64_t>(header.Kind));
  AppendNumber(bytes, header.StartedUtcNs);
  AppendText(bytes, header.Folder);
  AppendText(bytes, header.What);
  EndBlock(bytes, begun);
  if (const int error = Write(bytes)) {
    // A journal without its header holds nothing, and no reader could tell it is one.
    const std::string made = File_.Path();
    File_.Close();
    std::error_code ignored;
    std::filesystem::remove(made, ignored);
    return Unexpected(TError{error, TErrorKind::Create, made});
  }
  // An fdatasync takes as long as many renames: the pass goes on meanwhile.
  if (durability == TDurability::Disk) Ahead_ = std::make_unique<TWriteAheadFile>(File_);
  return {};
}

int TPassJournalWriter::Write(std::string& bytes) {
  if (Error_ != 0) return Error_;
  if (Ahead_ == nullptr) {
    Error_ = File_.Append(bytes);
    bytes.clear();
    return Error_;
  }
  if (const std::optional<std::uint64_t> ticket = Queue(bytes)) Error_ = Ahead_->Await(*ticket);
  return Error_;
}

std::optional<std::uint64_t> TPassJournalWriter::Queue(std::string& bytes) {
  if (Error_ != 0) return std::nullopt;
  LastTicket_ = Ahead_->Queue(bytes);
  bytes.clear();
  return LastTicket_;
}

bool TPassJournalWriter::Intend(std::span<const TJournalEntry> entries) {
  if (entries.empty()) return Error_ == 0;
  PutIntents(entries);
  return Write(Pending_) == 0;
}

std::optional<std::uint64_t> TPassJournalWriter::IntendAhead(std::span<const TJournalEntry> entries) {
  if (Ahead_ == nullptr) return IPassJournal::IntendAhead(entries);
  if (Error_ != 0) return std::nullopt;
  // Nothing to record first: what is pending waits for the next intents.
  if (entries.empty()) return LastTicket_;
  PutIntents(entries);
  return Queue(Pending_);
}

bool TPassJournalWriter::IntentsRecorded(std::uint64_t ticket) { return Ahead_ == nullptr || Ahead_->Written(ticket); }

bool TPassJournalWriter::AwaitIntents(std::uint64_t ticket) {
  if (Ahead_ == nullptr || Error_ != 0) return Error_ == 0;
  Error_ = Ahead_->Await(ticket);
  return Error_ == 0;
}

void TPassJournalWriter::PutIntents(std::span<const TJournalEntry> entries) {
  Intended_ += entries.size();
  const std::size_t begun = BeginBlock(Pending_, TJournalBlock::Intents);
  AppendNumber(Pending_, entries.size());
  std::size_t most = 0;
  for (const TJournalEntry& entry : entries) most += MostNamedBytes(entry);
  {
    TFieldWriter out(Pending_, most);
    std::string_view folder;
    for (const TJournalEntry& entry : entries) {
      out.Number(entry.Row);
      PutFolder(out, entry.Folder, folder);
      out.Text(entry.OldName);
      out.Text(entry.NewName);
    }
  }
  EndBlock(Pending_, begun);
  PutIdentities(entries);
}

// The files the intents are about, so that a reader after a kill can tell by
// the file, not by the names, whether each rename happened.
void TPassJournalWriter::PutIdentities(std::span<const TJournalEntry> entries) {
  const std::size_t known = static_cast<std::size_t>(
      std::count_if(entries.begin(), entries.end(), [](const TJournalEntry& entry) { return entry.Identity; }));
  if (known == 0) return;
  const std::size_t begun = BeginBlock(Pending_, TJournalBlock::Identities);
  AppendNumber(Pending_, known);
  {
    TFieldWriter out(Pending_, known * 6 * kMaxNumberBytes);
    for (const TJournalEntry& entry : entries) {
      if (!entry.Identity) continue;
      const TFileIdentity& file = *entry.Identity;
      out.Number(entry.Row);
      out.Number(file.Device);
      out.Number(file.Inode);
      out.Number(file.Size);
      out.Number(ZigZag(file.MtimeNs));
      out.Number(file.Mode);
    }
  }
  EndBlock(Pending_, begun);
}

bool TPassJournalWriter::Temporary(std::uint64_t row, std::string_view folder, std::string_view name) {
  const std::size_t begun = BeginBlock(Pending_, TJournalBlock::Temporary);
  AppendNumber(Pending_, row);
  AppendText(Pending_, folder);
  AppendText(Pending_, name);
  EndBlock(Pending_, begun);
  return Write(Pending_) == 0;
}

void TPassJournalWriter::Settled(std::span<const TJournalEntry> entries) {
  std::size_t attempted = 0, mostOutcomes = 0, mostRows = 0;
  for (const TJournalEntry& entry : entries) {
    attempted += entry.Attempted ? 1 : 0;
    if (entry.Attempted)
      mostOutcomes += MostOutcomeBytes(entry);
    else
      mostRows += MostNamedBytes(entry);
    if (entry.Status == TRenameStatus::rsError || entry.Status == TRenameStatus::rsFileNotFound) {
      ++Refused_;
      AppendText(Left_, entry.Folder);
      AppendText(Left_, entry.OldName);
      Left_.push_back(static_cast<char>(entry.Status));
      AppendNumber(Left_, ErrorField(entry.Error));
    }
  }
  Outcomes_ += attempted;
  if (attempted > 0) {
    const std::size_t begun = BeginBlock(Pending_, TJournalBlock::Outcomes);
    AppendNumber(Pending_, attempted);
    {
      TFieldWriter out(Pending_, mostOutcomes);
      for (const TJournalEntry& entry : entries) {
        if (!entry.Attempted) continue;
        PutOutcome(out, entry, static_cast<std::uint8_t>(entry.Status));
        if (entry.Status == TRenameStatus::rsOk) ++Renamed_;
      }
    }
    EndBlock(Pending_, begun);
  }
  if (attempted < entries.size()) {
    const std::size_t begun = BeginBlock(Pending_, TJournalBlock::Rows);
    AppendNumber(Pending_, entries.size() - attempted);
    {
      TFieldWriter out(Pending_, mostRows);
      std::string_view folder;
      for (const TJournalEntry& entry : entries) {
        if (entry.Attempted) continue;
        out.Number(entry.Row);
        PutFolder(out, entry.Folder, folder);
        out.Text(entry.OldName);
        out.Text(entry.NewName);
        out.Byte(static_cast<std::uint8_t>(entry.Status));
        out.Number(ErrorField(entry.Error));
      }
    }
    EndBlock(Pending_, begun);
  }
  Rows_ += entries.size();
  // Outcomes need not be on disk before anything: handed over, not waited for.
  if (Pending_.size() >= kPendingLimit) {
    if (Ahead_ != nullptr)
      Queue(Pending_);
    else
      Write(Pending_);
  }
}

void TPassJournalWriter::Withdrawn(std::span<const TJournalEntry> entries) {
  if (entries.empty()) return;
  Outcomes_ += entries.size();
  const std::size_t begun = BeginBlock(Pending_, TJournalBlock::Outcomes);
  AppendNumber(Pending_, entries.size());
  {
    TFieldWriter out(Pending_, entries.size() * (kMaxNumberBytes + 3));
    for (const TJournalEntry& entry : entries) {
      out.Number(entry.Row);
      out.Byte(kWithdrawnStatus);
      out.Number(0);
      out.Number(0);
    }
  }
  EndBlock(Pending_, begun);
}

TExpected<void> TPassJournalWriter::Finish(TJournalEnd end) {
  if (!File_.IsOpen()) return Checked(Error_, TErrorKind::Write, File_.Path());
  const std::size_t begun = BeginBlock(Pending_, TJournalBlock::End);
  AppendNumber(Pending_, Rows_);
  Pending_.push_back(static_cast<char>(end));
  // Read from the file's end by a history, which reads no row.
  AppendNumber(Pending_, Renamed_);
  EndBlock(Pending_, begun);
  Write(Pending_);
  Ahead_.reset();
  File_.Close();
  return Checked(Error_, TErrorKind::Write, File_.Path());
}

}  // namespace vt
