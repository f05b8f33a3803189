#include "passes/ListedFolder.h"

#include <memory>
#include <optional>
#include <string_view>

namespace vt {

void TListedFolder::Add(const TProcessList& record) {
  // Every mask may name a folder of its own; they all fit in FolderOf_'s width.
  if (Folders_.empty() || Folders_.back() != record.Folder) Folders_.push_back(record.Folder);
  FolderOf_.push_back(std::uint16_t(Folders_.size() - 1));
  Names_.append(record.FindData.cFileName);
  Ends_.push_back(std::uint32_t(Names_.size()));
  Names_.append(record.FindData.cAlternateFileName);
  Ends_.push_back(std::uint32_t(Names_.size()));
  Attributes_.push_back(record.FindData.dwFileAttributes);
  FlagsUnread_.push_back(record.FindData.FlagsUnread);
  if (record.Facts && Facts_.empty()) Facts_.resize(Attributes_.size() - 1);
  if (!Facts_.empty()) Facts_.push_back(record.Facts ? std::optional<TFileFacts>(*record.Facts) : std::nullopt);
}

std::string_view TListedFolder::Name(std::size_t at) const {
  const std::uint32_t begin = at == 0 ? 0 : Ends_[2 * at - 1];
  return std::string_view(Names_).substr(begin, Ends_[2 * at] - begin);
}

void TListedFolder::Get(std::size_t at, TProcessList& out) const {
  const std::string_view names(Names_);
  const std::uint32_t begin = at == 0 ? 0 : Ends_[2 * at - 1];
  const std::uint32_t middle = Ends_[2 * at];
  out.Folder = Folders_[FolderOf_[at]];
  out.FindData.cFileName.assign(names.substr(begin, middle - begin));
  out.FindData.cAlternateFileName.assign(names.substr(middle, Ends_[2 * at + 1] - middle));
  out.FindData.dwFileAttributes = Attributes_[at];
  out.FindData.FlagsUnread = FlagsUnread_[at];
  out.FindData.Inode = 0;  // not kept: only a simulation judges from a kept listing
  if (at < Facts_.size() && Facts_[at])
    out.Facts = std::make_unique<TFileFacts>(*Facts_[at]);
  else
    out.Facts.reset();
}

}  // namespace vt
