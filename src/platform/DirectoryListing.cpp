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
#include "platform/ImmutableFlags.h"
#include "platform/MaskMatch.h"
#include "platform/ShortName.h"

namespace vt {
namespace {

bool IsDots(std::string_view name) { return name == "." || name == ".."; }

// The attribute word, with lstat semantics; nothing for an entry that has gone.
// type is the folder's DT_* value for the entry.
TEntryLook LookAt(int dirFd, const char* name, unsigned char type, FlagSource source = FlagSource::OpenWhereNeeded) {
  TEntryLook look;
  look.Error = LookWithFlags(dirFd, name, look.Info, source);
  if (look.Error != 0) {
    if (look.Error == ENOENT) return look;
    // Not allowed to look (a folder without search permission): the type alone.
    const EntryKind kind = type == DT_REG ? EntryKind::Regular : EntryKind::Other;
    look.Attributes = EntryAttributes(kind, RenameFlags::None, name);
    return look;
  }
  EntryKind kind = EntryKind::Other;
  if (S_ISREG(look.Info.Mode))
    kind = EntryKind::Regular;
  else if (S_ISDIR(look.Info.Mode))
    kind = EntryKind::Directory;
  else if (S_ISLNK(look.Info.Mode))
    kind = EntryKind::Symlink;
  look.Attributes = EntryAttributes(kind, look.Info.Immutable ? RenameFlags::Set : RenameFlags::None, name);
  return look;
}

struct TLooked {
  std::optional<std::uint32_t> Attributes;
  bool FlagsUnread = false;
};

// Only what the folder's type byte does not tell is looked at.
TLooked AttributesOf(int dirFd, const TFolderEntry& entry, ReadOnlyFlags readOnly) {
  if (const auto kind = KindFromDirentType(entry.Type)) return {EntryAttributes(*kind, RenameFlags::None, entry.Name)};
  if (entry.Type == DT_REG && readOnly == ReadOnlyFlags::LeaveToCaller)
    return {EntryAttributes(EntryKind::Regular, RenameFlags::None, entry.Name), true};
  return {LookAt(dirFd, entry.cName, entry.Type).Attributes};
}

// items[i] becomes items[positions[i]], in place, cycle by cycle: a large
// listing's entries are not copied once more into fresh memory. positions is
// used up.
template <typename T>
void PutInOrder(std::vector<T>& items, std::vector<std::uint32_t>& positions) {
  for (std::size_t start = 0; start < items.size(); ++start) {
    if (positions[start] == start) continue;
    const T first = items[start];
    std::size_t at = start;
    while (positions[at] != start) {
      const std::size_t from = positions[at];
      items[at] = items[from];
      positions[at] = static_cast<std::uint32_t>(at);
      at = from;
    }
    items[at] = first;
    positions[at] = static_cast<std::uint32_t>(at);
  }
}

bool Excluded(std::uint32_t attr, ListFilter filter) {
  return filter == ListFilter::NoHiddenOrSystem &&
         (attr & (FileAttr::Hidden | FileAttr::System | FileAttr::VolumeLabel)) != 0;
}

}  // namespace

struct TFindHandle::Impl {
  struct TSelected {
    std::uint32_t NameOffset;
    std::uint16_t Attributes;
    bool FlagsUnread;
    TShortName ShortName;
  };

  std::string Folder;                         // the pattern's folder; or, under a handle, the mask's folder part
  std::shared_ptr<const TFolderHandle> Base;  // the handle the mask was given with
  std::shared_ptr<const TFolderHandle> Handle;
  int Error = 0;
  TFolderReading Own;
  // Own, or a reading of the folder made by the caller
  const TFolderReading* Names = &Own;
  std::vector<TSelected> Selected;
  std::size_t Next = 0;
  bool InStoredOrder = true;  // names before the next one's may be freed
  ReadOnlyFlags ReadOnly = ReadOnlyFlags::Look;

  void List(const std::string& mask, ListFilter filter, ShortNames make, NameOrder order, const TListingStop& stop);
  void Select(const std::string& mask, ListFilter filter, ShortNames make, NameOrder order, const TListingStop& stop);
  void Sort(NameOrder order);
  void Abandon();
};

void TFindHandle::Impl::List(const std::string& mask, ListFilter filter, ShortNames make, NameOrder order,
                             const TListingStop& stop) {
  Error = Own.Read(*Handle, stop);
  if (Error != 0 || Own.Stopped()) return;
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
    shortNames.Reserve(Names->Count());
    const bool read = Names->ForEach(poll, [&](const TFolderEntry& entry) {
      if (!IsDots(entry.Name) && HasShortForm(entry.Name)) shortNames.Occupy(entry.Name);
    });
    if (!read) return Abandon();
  }

  Selected.reserve(Names->Count());  // pages never touched cost nothing
  // Names, masks and short names first, all in memory; then one look at each
  // selected entry.
  const bool read = Names->ForEach(poll, [&](const TFolderEntry& entry) {
    TShortName shortName;
    if (make == ShortNames::Make && !IsDots(entry.Name) && !HasShortForm(entry.Name))
      shortName = shortNames.Assign(entry.Name);
    if (MaskMatches(mask, entry.Name)) Selected.push_back({entry.Offset, 0, false, shortName});
  });
  if (!read) return Abandon();
  const int dirFd = Handle->Fd();
  std::size_t kept = 0;
  for (TSelected& item : Selected) {
    if (poll.Entry()) return Abandon();
    const TLooked looked = AttributesOf(dirFd, Names->At(item.NameOffset), ReadOnly);
    if (!looked.Attributes || Excluded(*looked.Attributes, filter)) continue;
    item.Attributes = static_cast<std::uint16_t>(*looked.Attributes);
    item.FlagsUnread = looked.FlagsUnread;
    Selected[kept++] = item;
  }
  Selected.resize(kept);
  if (poll.Now()) return Abandon();
  Sort(order);
}

// A listing told to stop hands out nothing: what it read so far is neither the
// whole folder nor in order.
void TFindHandle::Impl::Abandon() {
  Own.Clear();
  std::vector<TSelected>().swap(Selected);
}

void TFindHandle::Impl::Sort(NameOrder order) {
  if (order == NameOrder::AsStored || Selected.size() < 2) return;
  std::vector<std::string_view> sortNames;
  sortNames.reserve(Selected.size());
  for (const TSelected& item : Selected) sortNames.push_back(Names->At(item.NameOffset).Name);
  std::vector<std::uint32_t> positions = SortedPositions(sortNames, order);
  std::vector<std::string_view>().swap(sortNames);
  PutInOrder(Selected, positions);
  InStoredOrder = false;
}

TFindHandle::TFindHandle(std::string_view pattern, ListFilter filter, ShortNames shortNames, NameOrder order)
    : Impl_(std::make_unique<Impl>()) {
  const std::size_t slash = pattern.rfind('/');
  const std::string mask(slash == std::string_view::npos ? pattern : pattern.substr(slash + 1));
  Impl_->Folder = slash == std::string_view::npos ? std::string("./") : std::string(pattern.substr(0, slash + 1));
  if (mask.empty()) return;
  auto handle = std::make_shared<TFolderHandle>();
  Impl_->Error = TFolderHandle::Open(Impl_->Folder, *handle);
  if (Impl_->Error != 0) return;
  Impl_->Handle = std::move(handle);
  Impl_->List(mask, filter, shortNames, order, TListingStop());
}

TFindHandle::TFindHandle(const std::shared_ptr<const TFolderHandle>& folder, std::string_view mask, ListFilter filter,
                         ShortNames shortNames, NameOrder order, const TListingStop& stop)
    : TFindHandle(folder, nullptr, mask, filter, shortNames, order, stop, ReadOnlyFlags::Look) {}

TFindHandle::TFindHandle(const std::shared_ptr<const TFolderHandle>& folder, const TFolderReading& reading,
                         std::string_view mask, ListFilter filter, ShortNames shortNames, NameOrder order,
                         const TListingStop& stop, ReadOnlyFlags readOnly)
    : TFindHandle(folder, &reading, mask, filter, shortNames, order, stop, readOnly) {}

TFindHandle::TFindHandle(const std::shared_ptr<const TFolderHandle>& folder, const TFolderReading* reading,
                         std::string_view mask, ListFilter filter, ShortNames shortNames, NameOrder order,
                         const TListingStop& stop, ReadOnlyFlags readOnly)
    : Impl_(std::make_unique<Impl>()) {
  Impl_->ReadOnly = readOnly;
  const std::size_t slash = mask.rfind('/');
  const std::string_view part = slash == std::string_view::npos ? std::string_view() : mask.substr(0, slash + 1);
  const std::string own(slash == std::string_view::npos ? mask : mask.substr(slash + 1));
  // The folder's text is made only when asked for: in a deep walk it is long.
  Impl_->Base = folder;
  Impl_->Folder = std::string(part);
  if (own.empty()) return;
  if (!part.empty()) {
    auto handle = std::make_shared<TFolderHandle>();
    Impl_->Error = folder->OpenRelative(part, *handle);
    if (Impl_->Error != 0) return;
    Impl_->Handle = std::move(handle);
    Impl_->List(own, filter, shortNames, order, stop);
  } else if (reading != nullptr) {
    Impl_->Handle = folder;
    Impl_->Names = reading;
    if (!reading->Stopped()) Impl_->Select(own, filter, shortNames, order, stop);
  } else {
    Impl_->Handle = folder;
    Impl_->List(own, filter, shortNames, order, stop);
  }
}

TFindHandle::~TFindHandle() = default;
TFindHandle::TFindHandle(TFindHandle&&) noexcept = default;
TFindHandle& TFindHandle::operator=(TFindHandle&&) noexcept = default;

bool TFindHandle::FindNext(TFindData& entry) {
  if (!Impl_ || Impl_->Next >= Impl_->Selected.size()) {
    if (Impl_) {
      Impl_->Own = TFolderReading();
      std::vector<Impl::TSelected>().swap(Impl_->Selected);
      Impl_->Next = 0;
    }
    return false;
  }
  const Impl::TSelected& item = Impl_->Selected[Impl_->Next++];
  if (Impl_->InStoredOrder && Impl_->Names == &Impl_->Own) Impl_->Own.ReleaseBefore(item.NameOffset);
  entry.dwFileAttributes = item.Attributes;
  entry.FlagsUnread = item.FlagsUnread;
  const TFolderEntry named = Impl_->Names->At(item.NameOffset);
  entry.cFileName.assign(named.Name);
  entry.Inode = named.Inode;
  entry.cAlternateFileName.assign(item.ShortName.View());
  return true;
}

std::string TFindHandle::Folder() const {
  if (!Impl_) return std::string();
  return Impl_->Base ? Impl_->Base->Path() + Impl_->Folder : Impl_->Folder;
}

std::shared_ptr<const TFolderHandle> TFindHandle::FolderHandle() const {
  return Impl_ && Impl_->Error == 0 ? Impl_->Handle : nullptr;
}

int TFindHandle::Error() const { return Impl_ ? Impl_->Error : 0; }

std::optional<std::uint32_t> LookedAttributes(const TFolderHandle& folder, const std::string& name) {
  return LookAt(folder.Fd(), name.c_str(), DT_REG).Attributes;
}

TEntryLook LookAtEntry(const TFolderHandle& folder, const std::string& name, FlagSource source) {
  return LookAt(folder.Fd(), name.c_str(), DT_REG, source);
}

}  // namespace vt
