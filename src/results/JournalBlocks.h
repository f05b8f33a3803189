#pragma once
// The blocks of a pass journal read into rows, for the readers of a journal:
// one that holds it whole and one that streams it. TRows gives At(index) (the
// row, made when new), Find(index) (the row or null) and Withdraw(index).
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>

#include "engine/RenameStatus.h"
#include "passes/JournalFormat.h"
#include "passes/PassJournalWriter.h"
#include "platform/FileIdentity.h"

namespace vt::journal_blocks {

inline bool ReadFolder(TJournalCursor& cursor, std::string_view& folder) {
  std::uint64_t tag = 0;
  if (!cursor.Number(tag)) return false;
  if (tag == 0) return folder.data() != nullptr;  // the previous row's folder
  // The tag is the length plus one.
  return cursor.Bytes(static_cast<std::size_t>(tag - 1), folder);
}

inline bool ReadStatus(TJournalCursor& cursor, std::uint8_t& status) {
  return cursor.Byte(status) &&
         (status <= static_cast<std::uint8_t>(TRenameStatus::rsCanBeRenamed) || status == kWithdrawnStatus);
}

// What intents and plain rows both start with: the row, its folder (kept from
// the row before when the same) and the two names.
inline bool ReadRowNames(TJournalCursor& cursor, std::uint64_t& row, std::string_view& folder,
                         std::string_view& oldName, std::string_view& newName) {
  return cursor.Number(row) && ReadFolder(cursor, folder) && cursor.Text(oldName) && cursor.Text(newName);
}

template <typename TRow>
void SetRowNames(TRow& row, std::string_view folder, std::string_view oldName, std::string_view newName) {
  row.Folder = folder;
  row.OldName = oldName;
  row.NewName = newName;
}

template <typename TRows>
bool ReadIntents(TJournalCursor& cursor, TRows& rows) {
  std::uint64_t count = 0;
  if (!cursor.Number(count)) return false;
  std::string_view folder;
  for (std::uint64_t i = 0; i < count; ++i) {
    std::uint64_t index = 0;
    std::string_view oldName, newName;
    if (!ReadRowNames(cursor, index, folder, oldName, newName)) return false;
    auto& row = rows.At(index);
    SetRowNames(row, folder, oldName, newName);
    row.Attempted = true;
    row.Settled = false;
    row.Identity.reset();
    row.Temporary = {};
  }
  return true;
}

template <typename TRows>
bool ReadOutcomes(TJournalCursor& cursor, TRows& rows) {
  std::uint64_t count = 0;
  if (!cursor.Number(count)) return false;
  for (std::uint64_t i = 0; i < count; ++i) {
    std::uint64_t index = 0;
    std::uint8_t status = 0;
    std::uint64_t error = 0;
    std::uint64_t nameTag = 0;
    std::string_view name;
    if (!cursor.Number(index) || !ReadStatus(cursor, status) || !cursor.Number(error) || !cursor.Number(nameTag) ||
        (nameTag > 0 && !cursor.Bytes(static_cast<std::size_t>(nameTag - 1), name)))
      return false;
    auto* row = rows.Find(index);
    if (row == nullptr) continue;  // an outcome without its intent: nothing to say of it
    if (status == kWithdrawnStatus) {
      rows.Withdraw(index);
      continue;
    }
    row->Status = static_cast<TRenameStatus>(status);
    row->Error = static_cast<int>(error);
    row->Settled = true;
    if (nameTag > 0) row->NewName = name;
  }
  return true;
}

template <typename TRows>
bool ReadPlainRows(TJournalCursor& cursor, TRows& rows) {
  std::uint64_t count = 0;
  if (!cursor.Number(count)) return false;
  std::string_view folder;
  for (std::uint64_t i = 0; i < count; ++i) {
    std::uint64_t index = 0;
    std::string_view oldName, newName;
    std::uint8_t status = 0;
    std::uint64_t error = 0;
    if (!ReadRowNames(cursor, index, folder, oldName, newName) || !ReadStatus(cursor, status) ||
        status == kWithdrawnStatus || !cursor.Number(error))
      return false;
    auto& row = rows.At(index);
    SetRowNames(row, folder, oldName, newName);
    row.Status = static_cast<TRenameStatus>(status);
    row.Error = static_cast<int>(error);
    row.Attempted = false;
    row.Settled = true;
  }
  return true;
}

// The files of intents read before (an Identities block follows its Intents).
template <typename TRows>
bool ReadIdentities(TJournalCursor& cursor, TRows& rows) {
  std::uint64_t count = 0;
  if (!cursor.Number(count)) return false;
  for (std::uint64_t i = 0; i < count; ++i) {
    std::uint64_t index = 0, mtime = 0, mode = 0;
    TFileIdentity file;
    if (!cursor.Number(index) || !cursor.Number(file.Device) || !cursor.Number(file.Inode) ||
        !cursor.Number(file.Size) || !cursor.Number(mtime) || !cursor.Number(mode) ||
        mode > std::numeric_limits<std::uint32_t>::max())
      return false;
    file.MtimeNs = UnZigZag(mtime);
    file.Mode = static_cast<std::uint32_t>(mode);
    if (auto* row = rows.Find(index)) row->Identity = file;
  }
  return true;
}

// A hidden temporary name an intended rename was about to use: the last one
// is where the file may be.
template <typename TRows>
bool ReadTemporary(TJournalCursor& cursor, TRows& rows) {
  std::uint64_t index = 0;
  std::string_view folder, name;
  if (!cursor.Number(index) || !cursor.Text(folder) || !cursor.Text(name)) return false;
  if (auto* row = rows.Find(index); row != nullptr && row->Folder == folder) row->Temporary = name;
  return true;
}

// What a journal says of the pass as a whole. Left views the payload it was
// read from: only a reader that keeps the payloads may look at it.
struct TJournalMarks {
  std::optional<TJournalEnd> End;
  bool Recovered = false;
  std::optional<TUndoneMark> Undone;
  std::string_view Left;      // the Left block of the last Undone mark, if it had one
  std::string_view NextLeft;  // a Left block not yet followed by its mark
};

inline bool ReadUndone(TJournalCursor& cursor, TUndoneMark& mark) {
  std::uint8_t state = 0;
  if (!cursor.Fixed64(mark.UtcNs) || !cursor.Byte(state) || !cursor.Fixed64(mark.RowsLeft)) return false;
  if (state != static_cast<std::uint8_t>(TUndoneState::Undone) &&
      state != static_cast<std::uint8_t>(TUndoneState::PartlyUndone))
    return false;
  mark.State = static_cast<TUndoneState>(state);
  return true;
}

template <typename TRows>
bool ReadBlock(std::string_view payload, TRows& rows, TJournalMarks& marks) {
  std::optional<TJournalEnd>& end = marks.End;
  TJournalCursor cursor(payload.substr(1));
  switch (static_cast<TJournalBlock>(payload[0])) {
    case TJournalBlock::Intents: return ReadIntents(cursor, rows);
    case TJournalBlock::Outcomes: return ReadOutcomes(cursor, rows);
    case TJournalBlock::Rows: return ReadPlainRows(cursor, rows);
    case TJournalBlock::End: {
      std::uint64_t count = 0;
      std::uint8_t how = 0;
      if (!cursor.Number(count) || !cursor.Byte(how)) return false;
      end = static_cast<TJournalEnd>(how);
      return true;
    }
    case TJournalBlock::Recovered: marks.Recovered = true; return true;
    case TJournalBlock::Left: marks.NextLeft = payload.substr(1); return true;
    case TJournalBlock::Undone: {
      TUndoneMark mark;
      if (!ReadUndone(cursor, mark)) return false;
      marks.Undone = mark;
      marks.Left = std::exchange(marks.NextLeft, std::string_view());
      return true;
    }
    case TJournalBlock::Identities: return ReadIdentities(cursor, rows);
    case TJournalBlock::Temporary: return ReadTemporary(cursor, rows);
    case TJournalBlock::Header: return false;
  }
  return true;  // a block of a kind this version does not know says nothing of the rows
}

inline bool ReadHeader(std::string_view payload, TJournalHeader& header) {
  TJournalCursor cursor(payload.substr(1));
  std::uint64_t version = 0;
  std::uint64_t kind = 0;
  std::string_view folder;
  std::string_view what;
  if (!cursor.Number(version) || version != kJournalVersion || !cursor.Number(kind) ||
      !cursor.Number(header.StartedUtcNs) || !cursor.Text(folder) || !cursor.Text(what))
    return false;
  if (kind != static_cast<std::uint64_t>(TJournalKind::Rename) &&
      kind != static_cast<std::uint64_t>(TJournalKind::Recover))
    return false;
  header.Kind = static_cast<TJournalKind>(kind);
  header.Folder = folder;
  header.What = what;
  return true;
}

}  // namespace vt::journal_blocks
