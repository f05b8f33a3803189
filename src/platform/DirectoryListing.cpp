#include "platform/DirectoryListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <algorithm>
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
  if (const auto kind = KindFromDirentType(entry.type)) return EntryAttributes(*kind, WriteBits::Some, entry.name);
  struct stat st {};
  if (::fstatat(dirFd, entry.cName, &st, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) return std::nullopt;
    // Not allowed to look (a folder without search permission): the type alone.
    const EntryKind kind = entry.type == DT_REG ? EntryKind::Regular : EntryKind::Other;
    return EntryAttributes(kind, WriteBits::Some, entry.name);
  }
  EntryKind kind = EntryKind::Other;
  if (S_ISREG(st.st_mode)) kind = EntryKind::Regular;
  else if (S_ISDIR(st.st_mode)) kind = EntryKind::Directory;
  else if (S_ISLNK(st.st_mode)) kind = EntryKind::Symlink;
  const WriteBits bits = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 ? WriteBits::Some : WriteBits::None;
  return EntryAttributes(kind, bits, entry.name);
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

  std::string folder;  // the pattern's folder; or, under a handle, the mask's folder part
  std::shared_ptr<const TFolderHandle> base;  // the handle the mask was given with
  std::shared_ptr<const TFolderHandle> handle;
  int error = 0;
  TFolderReading own;
  // own, or a reading of the folder made by the caller
  const TFolderReading* names = &own;
  std::vector<TSelected> selected;
  std::size_t next = 0;
  bool inStoredOrder = true;  // names before the next one's may be freed

  void List(const std::string& mask, ListFilter filter, ShortNames make, NameOrder order,
            const TListingStop& stop);
  void Select(const std::string& mask, ListFilter filter, ShortNames make, NameOrder order,
              const TListingStop& stop);
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
      if (!IsDots(entry.name) && HasShortForm(entry.name)) shortNames.Occupy(entry.name);
    });
    if (!read) return Abandon();
  }

  selected.reserve(names->Count());  // pages never touched cost nothing
  // Names, masks and short names first, all in memory; then one look at each
  // selected entry.
  const bool read = names->ForEach(poll, [&](const TFolderEntry& entry) {
    TShortName shortName;
    if (make == ShortNames::Make && !IsDots(entry.name) && !HasShortForm(entry.name))
      shortName = shortNames.Assign(entry.name);
    if (MaskMatches(mask, entry.name)) selected.push_back({entry.offset, 0, shortName});
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
  for (const TSelected& item : selected) sortNames.push_back(names->At(item.nameOffset).name);
  const std::vector<std::uint32_t> positions = SortedPositions(sortNames, order);
  std::vector<TSelected> sorted;
  sorted.reserve(selected.size());
  for (const std::uint32_t position : positions) sorted.push_back(std::move(selected[position]));
  selected = std::move(sorted);
  inStoredOrder = false;
}

TFindHandle::TFindHandle(std::string_view pattern, ListFilter filter, ShortNames shortNames, NameOrder order)
    : impl_(std::make_unique<Impl>()) {
  const std::size_t slash = pattern.rfind('/');
  const std::string mask(slash == std::string_view::npos ? pattern : pattern.substr(slash + 1));
  impl_->folder = slash == std::string_view::npos ? std::string("./") : std::string(pattern.substr(0, slash + 1));
  if (mask.empty()) return;
  auto handle = std::make_shared<TFolderHandle>();
  impl_->error = TFolderHandle::Open(impl_->folder, *handle);
  if (impl_->error != 0) return;
  impl_->handle = std::move(handle);
  impl_->List(mask, filter, shortNames, order, TListingStop());
}

TFindHandle::TFindHandle(const std::shared_ptr<const TFolderHandle>& folder, std::string_view mask,
                         ListFilter filter, ShortNames shortNames, NameOrder order,
                         const TListingStop& stop)
    : TFindHandle(folder, nullptr, mask, filter, shortNames, order, stop) {}

TFindHandle::TFindHandle(const std::shared_ptr<const TFolderHandle>& folder, const TFolderReading& reading,
                         std::string_view mask, ListFilter filter, ShortNames shortNames, NameOrder order,
                         const TListingStop& stop)
    : TFindHandle(folder, &reading, mask, filter, shortNames, order, stop) {}

TFindHandle::TFindHandle(const std::shared_ptr<const TFolderHandle>& folder, const TFolderReading* reading,
                         std::string_view mask, ListFilter filter, ShortNames shortNames, NameOrder order,
                         const TListingStop& stop)
    : impl_(std::make_unique<Impl>()) {
  const std::size_t slash = mask.rfind('/');
  const std::string_view part = slash == std::string_view::npos ? std::string_view() : mask.substr(0, slash + 1);
  const std::string own(slash == std::string_view::npos ? mask : mask.substr(slash + 1));
  // The folder's text is made only when asked for: in a deep walk it is long.
  impl_->base = folder;
  impl_->folder = std::string(part);
  if (own.empty()) return;
  if (!part.empty()) {
    auto handle = std::make_shared<TFolderHandle>();
    impl_->error = folder->OpenRelative(part, *handle);
    if (impl_->error != 0) return;
    impl_->handle = std::move(handle);
    impl_->List(own, filter, shortNames, order, stop);
  } else if (reading != nullptr) {
    impl_->handle = folder;
    impl_->names = reading;
    if (!reading->Stopped()) impl_->Select(own, filter, shortNames, order, stop);
  } else {
    impl_->handle = folder;
    impl_->List(own, filter, shortNames, order, stop);
  }
}

TFindHandle::~TFindHandle() = default;
TFindHandle::TFindHandle(TFindHandle&&) noexcept = default;
TFindHandle& TFindHandle::operator=(TFindHandle&&) noexcept = default;

bool TFindHandle::FindNext(TFindData& entry) {
  if (!impl_ || impl_->next >= impl_->selected.size()) {
    if (impl_) {
      impl_->own = TFolderReading();
      std::vector<Impl::TSelected>().swap(impl_->selected);
      impl_->next = 0;
    }
    return false;
  }
  const Impl::TSelected& item = impl_->selected[impl_->next++];
  if (impl_->inStoredOrder && impl_->names == &impl_->own) impl_->own.ReleaseBefore(item.nameOffset);
  entry.dwFileAttributes = item.attributes;
  entry.cFileName.assign(impl_->names->At(item.nameOffset).name);
  entry.cAlternateFileName.assign(item.shortName.View());
  return true;
}

std::string TFindHandle::Folder() const {
  if (!impl_) return std::string();
  return impl_->base ? impl_->base->Path() + impl_->folder : impl_->folder;
}

std::shared_ptr<const TFolderHandle> TFindHandle::FolderHandle() const {
  return impl_ && impl_->error == 0 ? impl_->handle : nullptr;
}

int TFindHandle::Error() const { return impl_ ? impl_->error : 0; }

}  // namespace vt
