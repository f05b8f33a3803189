#pragma once
// The rows a recover pass renames back, held compactly: a recover of a million
// rows must not cost a string per text. Folders are kept once, the names of
// all rows in a few large blocks, and each row is a small fixed record; the
// files a journal recorded are kept apart, for the rows that have one.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/RenameStatus.h"
#include "passes/UndoRowChecks.h"
#include "platform/FileIdentity.h"

namespace vt {

class TUndoList {
 public:
  TUndoList() = default;
  TUndoList(TUndoList&&) = default;
  TUndoList& operator=(TUndoList&&) = default;
  // A copy's folder index would view the original's folders.
  TUndoList(const TUndoList&) = delete;
  TUndoList& operator=(const TUndoList&) = delete;

  // One row as read: the "Path", "New Name" and "File" cells, the "Status"
  // cell (none for a text the program does not know, a result file's), and
  // the file the pass renamed, where its journal recorded it.
  struct TRow {
    std::string_view Path;
    std::string_view NewFileName;
    std::string_view OldFileName;
    std::optional<TRenameStatus> Status;
    TPathTexts Texts = TPathTexts::MayBeCut;
    std::optional<TFileIdentity> Identity{};
  };

  void Add(const TRow& row);
  std::size_t size() const { return Records_.size(); }
  bool empty() const { return Records_.empty(); }
  TRow operator[](std::size_t row) const;
  // Texts stay where they are while rows are added: the names of a row are
  // NUL-terminated, so that a system call can take them as they are.
  std::string_view Path(std::size_t row) const { return Folders_[Records_[row].Folder]; }
  std::string_view NewFileName(std::size_t row) const;
  std::string_view OldFileName(std::size_t row) const;
  // Gives the memory back.
  void Clear();

 private:
  static constexpr std::uint32_t kNone = UINT32_MAX;
  static constexpr std::uint8_t kNoStatus = UINT8_MAX;
  // 28 bytes; the old name and then the new one lie in one block of names.
  struct TRecord {
    std::uint32_t Block = 0;
    std::uint32_t Offset = 0;
    std::uint32_t OldSize = 0;
    std::uint32_t NewSize = 0;
    std::uint32_t Folder = 0;
    std::uint32_t Identity = kNone;
    std::uint8_t Status = kNoStatus;
    TPathTexts Texts = TPathTexts::MayBeCut;
  };

  std::uint32_t FolderOf(std::string_view path);
  const char* Name(const TRecord& record) const { return Names_[record.Block].data() + record.Offset; }

  // Deques: a million rows grow without the old and the new room held at once.
  std::deque<TRecord> Records_;
  std::deque<TFileIdentity> Identities_;
  std::vector<std::string> Names_;  // blocks, each filled up to its capacity and never moved
  std::deque<std::string> Folders_;
  std::unordered_map<std::string_view, std::uint32_t> FolderIds_;  // views of Folders_
};

}  // namespace vt
