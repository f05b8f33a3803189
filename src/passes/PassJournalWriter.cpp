#include "passes/PassJournalWriter.h"

namespace vt {
namespace {

// Rows of one block name the same folder again and again; it is written once.
void AppendFolder(std::string& out, std::string_view folder, std::string_view& previous) {
  if (folder == previous && previous.data() != nullptr) {
    AppendNumber(out, 0);
    return;
  }
  AppendNumber(out, folder.size() + 1);
  out.append(folder);
  previous = folder;
}

}  // namespace

int TPassJournalWriter::Create(const std::string& path, TDurability durability, const TJournalHeader& header) {
  if (const int error = File_.Create(path, durability)) return error;
  std::string bytes(kJournalSignature);
  const std::size_t begun = BeginBlock(bytes, TJournalBlock::Header);
  AppendNumber(bytes, kJournalVersion);
  AppendNumber(bytes, static_cast<std::uint64_t>(header.Kind));
  AppendNumber(bytes, header.StartedUtcNs);
  AppendText(bytes, header.Folder);
  AppendText(bytes, header.What);
  EndBlock(bytes, begun);
  return Write(bytes);
}

int TPassJournalWriter::Write(std::string& bytes) {
  if (Error_ != 0) return Error_;
  Error_ = File_.Append(bytes);
  bytes.clear();
  return Error_;
}

bool TPassJournalWriter::Intend(std::span<const TJournalEntry> entries) {
  if (entries.empty()) return Error_ == 0;
  const std::size_t begun = BeginBlock(Pending_, TJournalBlock::Intents);
  AppendNumber(Pending_, entries.size());
  std::string_view folder;
  for (const TJournalEntry& entry : entries) {
    AppendNumber(Pending_, entry.Row);
    AppendFolder(Pending_, entry.Folder, folder);
    AppendText(Pending_, entry.OldName);
    AppendText(Pending_, entry.NewName);
  }
  EndBlock(Pending_, begun);
  return Write(Pending_) == 0;
}

void TPassJournalWriter::AppendOutcome(const TJournalEntry& entry, std::uint8_t status) {
  AppendNumber(Pending_, entry.Row);
  Pending_.push_back(static_cast<char>(status));
  AppendNumber(Pending_, static_cast<std::uint64_t>(entry.Error < 0 ? 0 : entry.Error));
  // A renamed file is under the name intended; any other row says what its New Name is.
  if (status == static_cast<std::uint8_t>(TRenameStatus::rsOk)) {
    AppendNumber(Pending_, 0);
    return;
  }
  AppendNumber(Pending_, entry.NewName.size() + 1);
  Pending_.append(entry.NewName);
}

void TPassJournalWriter::Settled(std::span<const TJournalEntry> entries) {
  std::size_t attempted = 0;
  for (const TJournalEntry& entry : entries) {
    attempted += entry.Attempted ? 1 : 0;
    if (entry.Status == TRenameStatus::rsError || entry.Status == TRenameStatus::rsFileNotFound) ++Refused_;
  }
  if (attempted > 0) {
    const std::size_t begun = BeginBlock(Pending_, TJournalBlock::Outcomes);
    AppendNumber(Pending_, attempted);
    for (const TJournalEntry& entry : entries) {
      if (!entry.Attempted) continue;
      AppendOutcome(entry, static_cast<std::uint8_t>(entry.Status));
      if (entry.Status == TRenameStatus::rsOk) ++Renamed_;
    }
    EndBlock(Pending_, begun);
  }
  if (attempted < entries.size()) {
    const std::size_t begun = BeginBlock(Pending_, TJournalBlock::Rows);
    AppendNumber(Pending_, entries.size() - attempted);
    std::string_view folder;
    for (const TJournalEntry& entry : entries) {
      if (entry.Attempted) continue;
      AppendNumber(Pending_, entry.Row);
      AppendFolder(Pending_, entry.Folder, folder);
      AppendText(Pending_, entry.OldName);
      AppendText(Pending_, entry.NewName);
      Pending_.push_back(static_cast<char>(entry.Status));
      AppendNumber(Pending_, static_cast<std::uint64_t>(entry.Error < 0 ? 0 : entry.Error));
    }
    EndBlock(Pending_, begun);
  }
  Rows_ += entries.size();
  if (Pending_.size() >= kPendingLimit) Write(Pending_);
}

void TPassJournalWriter::Withdrawn(std::span<const TJournalEntry> entries) {
  if (entries.empty()) return;
  const std::size_t begun = BeginBlock(Pending_, TJournalBlock::Outcomes);
  AppendNumber(Pending_, entries.size());
  for (const TJournalEntry& entry : entries) {
    AppendNumber(Pending_, entry.Row);
    Pending_.push_back(static_cast<char>(kWithdrawnStatus));
    AppendNumber(Pending_, 0);
    AppendNumber(Pending_, 0);
  }
  EndBlock(Pending_, begun);
}

int TPassJournalWriter::Finish(TJournalEnd end) {
  if (!File_.IsOpen()) return Error_;
  const std::size_t begun = BeginBlock(Pending_, TJournalBlock::End);
  AppendNumber(Pending_, Rows_);
  Pending_.push_back(static_cast<char>(end));
  EndBlock(Pending_, begun);
  Write(Pending_);
  File_.Close();
  return Error_;
}

}  // namespace vt
