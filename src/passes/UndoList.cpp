#include "passes/UndoList.h"

#include <utility>

namespace vt {
namespace {

// Large enough that a million rows take few blocks, small enough that the room
// left unused in the last one does not count.
constexpr std::size_t kNameBlock = std::size_t{1} << 20;

}  // namespace

std::uint32_t TUndoList::FolderOf(std::string_view path) {
  // Rows of one folder come together: the last one is asked first.
  if (!Records_.empty() && Folders_[Records_.back().Folder] == path) return Records_.back().Folder;
  if (const auto it = FolderIds_.find(path); it != FolderIds_.end()) return it->second;
  const auto id = static_cast<std::uint32_t>(Folders_.size());
  FolderIds_.emplace(Folders_.emplace_back(path), id);
  return id;
}

void TUndoList::Add(const TRow& row) {
  TRecord record;
  record.Folder = FolderOf(row.Path);
  record.OldSize = static_cast<std::uint32_t>(row.OldFileName.size());
  record.NewSize = static_cast<std::uint32_t>(row.NewFileName.size());
  const std::size_t needed = row.OldFileName.size() + row.NewFileName.size() + 2;
  if (Names_.empty() || Names_.back().capacity() - Names_.back().size() < needed) {
    Names_.emplace_back().reserve(std::max(kNameBlock, needed));
  }
  std::string& block = Names_.back();
  record.Block = static_cast<std::uint32_t>(Names_.size() - 1);
  record.Offset = static_cast<std::uint32_t>(block.size());
  block.append(row.OldFileName).push_back('\0');
  block.append(row.NewFileName).push_back('\0');
  if (row.Status) record.Status = static_cast<std::uint8_t>(*row.Status);
  record.Texts = row.Texts;
  if (row.Identity) {
    record.Identity = static_cast<std::uint32_t>(Identities_.size());
    Identities_.push_back(*row.Identity);
  }
  Records_.push_back(record);
}

std::string_view TUndoList::OldFileName(std::size_t row) const {
  const TRecord& record = Records_[row];
  return {Name(record), record.OldSize};
}

std::string_view TUndoList::NewFileName(std::size_t row) const {
  const TRecord& record = Records_[row];
  return {Name(record) + record.OldSize + 1, record.NewSize};
}

TUndoList::TRow TUndoList::operator[](std::size_t row) const {
  const TRecord& record = Records_[row];
  TRow read{Path(row), NewFileName(row), OldFileName(row), std::nullopt, record.Texts};
  if (record.Status != kNoStatus) read.Status = static_cast<TRenameStatus>(record.Status);
  if (record.Identity != kNone) read.Identity = Identities_[record.Identity];
  return read;
}

void TUndoList::Clear() {
  std::deque<TRecord>().swap(Records_);
  std::deque<TFileIdentity>().swap(Identities_);
  std::vector<std::string>().swap(Names_);
  FolderIds_.clear();
  std::deque<std::string>().swap(Folders_);
}

}  // namespace vt
