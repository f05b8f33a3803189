#include "platform/DirectoryListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/EntryAttributes.h"
#include "platform/FolderReading.h"
#include "platform/MaskMatch.h"
#include "platform/ShortName.h"

namespace vt {
namespace {

bool IsDots(std::string_view name) { return name == "." || name == ".."; }

// The attribute word, with lstat semantics; nothing for an entry that has gone.
std::optional<std::uint32_t> AttributesOf(int dirFd, const TFolderEntry& entry) {
  if (const auto kind = KindFromDirentType(entry.Type)) return EntryAttributes(*kind, WriteBits::Some, entry.Name);
  struct stat st {};
  if (::fstatat(dirFd, entry.cName, &st, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) return std::nullopt;
    // Not allowed to look (a folder without search permission): the type alone.
    const EntryKind kind = entry.Type == DT_REG ? EntryKind::Regular : EntryKind::Other;
    return EntryAttributes(kind, WriteBits::Some, entry.Name);
  }
  EntryKind kind = EntryKind::Other;
  if (S_ISREG(st.st_mode))
    kind = EntryKind::Regular;
  else if (S_ISDIR(st.st_mode))
    kind = EntryKind::Directory;
  else if (S_ISLNK(st.st_mode))
    kind = EntryKind::Symlink;
  const WriteBits bits = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 ? WriteBits::Some : WriteBits::None;
  return EntryAttributes(kind, bits, entry.Name);
}

bool Excluded(std::uint32_t attr, ListFilter filter) {
  return filter == ListFilter::NoHiddenOrSystem &&
         (attr & (FileAttr::Hidden | FileAttr::System | FileAttr::VolumeLabel)) != 0;
}

}  // namespace

struct TFindHandle::Impl {
  struct TSelected {
    std::uint32_t nameOffset;
    std::uint16_t attributes;
    TShortName shortName;
  };

  std::string folder;                         // the pattern's folder; or, under a handle, the mask's folder part
  std::shared_ptr<const TFolderHandle> base;  // the handle the mask was given with
  std::shared_ptr<const TFolderHandle> handle;
  int error = 0;
  TFolderReading own;
  // own, or a reading of the folder made by the caller
  const TFolderReading* names = &own;
  std::vector<TSelected> selected;
  std::size_t next = 0;
  bool inStoredOrder = true;  // names before the next one's may be freed

  void List(const std::string& mask, ListFilter filter, ShortNames make, NameOrder order, const TListingStop& stop);
  void Select(const std::string& mask, ListFilter filter, ShortNames make, NameOrder order, const TListingStop& stop);
  void Sort(NameOrder order);
  void Abandon();
};

void TFindHandle::Impl::List(const std::string& mask, ListFilter filter, ShortNames make, NameOrder order,
                             const TListingStop& stop) {
  error = own.Read(*handle, stop);
  if (error != 0 || own.Stopped()) return;
  Select(mask, filter, make, order, stop);
}

// The short names need every name of the folder (an 8.3 long name anywhere in
// it takes its name away from the generated ones), so they are made over the
// whole reading, in the order the system gave the names.
void TFindHandle::Impl::Select(const std::string& mask, ListFilter filter, ShortNames make, NameOrder order,
                               const TListingStop& stop) {
  TListingStopPoll poll(stop);
  TShortNameTable shortNames;
  if (make == ShortNames::Make) {
    shortNames.Reserve(names->Count());
    const bool read = names->ForEach(poll, [&](const TFolderEntry& entry) {
      if (!IsDots(entry.Name) && HasShortForm(entry.Name)) shortNames.Occupy(entry.Name);
    });
    if (!read) return Abandon();
  }

  selected.reserve(names->Count());  // pages never touched cost nothing
  // Names, masks and short names first, all in memory; then one look at each
  // selected entry.
  const bool read = names->ForEach(poll, [&](const TFolderEntry& entry) {
    TShortName shortName;
    if (make == ShortNames::Make && !IsDots(entry.Name) && !HasShortForm(entry.Name))
      shortName = shortNames.Assign(entry.Name);
    if (MaskMatches(mask, entry.Name)) selected.push_back({entry.Offset, 0, shortName});
  });
  if (!read) return Abandon();
  const int dirFd = handle->Fd();
  std::size_t kept = 0;
  for (TSelected& item : selected) {
    if (poll.Entry()) return Abandon();
    const auto attributes = AttributesOf(dirFd, names->At(item.nameOffset));
    if (!attributes || Excluded(*attributes, filter)) continue;
    item.attributes = static_cast<std::uint16_t>(*attributes);
    selected[kept++] = item;
  }
  selected.resize(kept);
  if (poll.Now()) return Abandon();
  Sort(order);
}

// A listing told to stop hands out nothing: what it read so far is neither the
// whole folder nor in order.
void TFindHandle::Impl::Abandon() {
  own.Clear();
  std::vector<TSelected>().swap(selected);
}

void TFindHandle::Impl::Sort(NameOrder order) {
  if (order == NameOrder::AsStored || selected.size() < 2) return;
  std::vector<std::string_view> sortNames;
  sortNames.reserve(selected.size());
  for (const TSelected& item : selected) sortNames.push_back(names->At(item.nameOffset).Name);
  const std::vector<std::uint32_t> positions = SortedPositions(sortNames, order);
  std::vector<TSelected> sorted;
  sorted.reserve(selected.size());
  for (const std::uint32_t position : positions) sorted.push_back(selected[position]);
  selected = std::move(sorted);
  inStoredOrder = false;
}

TFindHandle::TFindHandle(std::string_view pattern, ListFilter filter, ShortNames shortNames, NameOrder order)
    : Impl_(std::make_unique<Impl>()) {
  const std::size_t slash = pattern.rfind('/');
  const std::string mask(slash == std::string_view::npos ? pattern : pattern.substr(slash + 1));
  Impl_->folder = slash == std::string_view::npos ? std::string("./") : std::string(pattern.substr(0, slash + 1));
  if (mask.empty()) return;
  auto handle = std::make_shared<TFolderHandle>();
  Impl_->error = TFolderHandle::Open(Impl_->folder, *handle);
  if (Impl_->error != 0) return;
  Impl_->handle = std::move(handle);
  Impl_->List(mask, filter, shortNames, order, TListingStop());
}

TFindHandle::TFindHandle(const std::shared_ptr<const TFolderHandle>& folder, std::string_view mask, ListFilter filter,
                         ShortNames shortNames, NameOrder order, const TListingStop& stop)
    : TFindHandle(folder, nullptr, mask, filter, shortNames, order, stop) {}

TFindHandle::TFindHandle(const std::shared_ptr<const TFolderHandle>& folder, const TFolderReading& reading,
                         std::string_view mask, ListFilter filter, ShortNames shortNames, NameOrder order,
                         const TListingStop& stop)
    : TFindHandle(folder, &reading, mask, filter, shortNames, order, stop) {}

TFindHandle::TFindHandle(const std::shared_ptr<const TFolderHandle>& folder, const TFolderReading* reading,
                         std::string_view mask, ListFilter filter, ShortNames shortNames, NameOrder order,
                         const TListingStop& stop)
    : Impl_(std::make_unique<Impl>()) {
  const std::size_t slash = mask.rfind('/');
  const std::string_view part = slash == std::string_view::npos ? std::string_view() : mask.substr(0, slash + 1);
  const std::string own(slash == std::string_view::npos ? mask : mask.substr(slash + 1));
  // The folder's text is made only when asked for: in a deep walk it is long.
  Impl_->base = folder;
  Impl_->folder = std::string(part);
  if (own.empty()) return;
  if (!part.empty()) {
    auto handle = std::make_shared<TFolderHandle>();
    Impl_->error = folder->OpenRelative(part, *handle);
    if (Impl_->error != 0) return;
    Impl_->handle = std::move(handle);
    Impl_->List(own, filter, shortNames, order, stop);
  } else if (reading != nullptr) {
    Impl_->handle = folder;
    Impl_->names = reading;
    if (!reading->Stopped()) Impl_->Select(own, filter, shortNames, order, stop);
  } else {
    Impl_->handle = folder;
    Impl_->List(own, filter, shortNames, order, stop);
  }
}

TFindHandle::~TFindHandle() = default;
TFindHandle::TFindHandle(TFindHandle&&) noexcept = default;
TFindHandle& TFindHandle::operator=(TFindHandle&&) noexcept = default;

bool TFindHandle::FindNext(TFindData& entry) {
  if (!Impl_ || Impl_->next >= Impl_->selected.size()) {
    if (Impl_) {
      Impl_->own = TFolderReading();
      std::vector<Impl::TSelected>().swap(Impl_->selected);
      Impl_->next = 0;
    }
    return false;
  }
  const Impl::TSelected& item = Impl_->selected[Impl_->next++];
  if (Impl_->inStoredOrder && Impl_->names == &Impl_->own) Impl_->own.ReleaseBefore(item.nameOffset);
  entry.dwFileAttributes = item.attributes;
  entry.cFileName.assign(Impl_->names->At(item.nameOffset).Name);
  entry.cAlternateFileName.assign(item.shortName.View());
  return true;
}

std::string TFindHandle::Folder() const {
  if (!Impl_) return std::string();
  return Impl_->base ? Impl_->base->Path() + Impl_->folder : Impl_->folder;
}

std::shared_ptr<const TFolderHandle> TFindHandle::FolderHandle() const {
  return Impl_ && Impl_->error == 0 ? Impl_->handle : nullptr;
}

int TFindHandle::Error() const { return Impl_ ? Impl_->error : 0; }

}  // namespace vt
