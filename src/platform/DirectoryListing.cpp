#include "platform/DirectoryListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "platform/EntryAttributes.h"
#include "platform/FolderStream.h"
#include "platform/MaskMatch.h"
#include "platform/ShortName.h"

namespace vt {
namespace {

// Names of the folder as read, each stored as [type][length][bytes]['\0'] in
// blocks of 64 KiB, so that reading never copies what was read and blocks
// already handed out can be freed while the caller collects the entries. The
// type byte carries kShortFormFlag for names already of 8.3 form.
constexpr unsigned char kShortFormFlag = 0x80;
constexpr std::size_t kBlockBits = 16;
constexpr std::size_t kBlockSize = std::size_t{1} << kBlockBits;

struct TRawEntry {
  std::uint32_t offset;
  unsigned char type;
  bool shortForm;
  std::string_view name;
  const char* cName;
};

bool IsDots(std::string_view name) { return name == "." || name == ".."; }

class TNameStore {
 public:
  void Add(const char* name, unsigned char type) {
    const std::size_t len = std::strlen(name);
    const std::string_view view(name, len);
    if (!IsDots(view) && HasShortForm(view)) type |= kShortFormFlag;
    if (blocks_.empty() || fill_.back() + len + 3 > kBlockSize) {
      blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
      fill_.push_back(0);
    }
    char* at = blocks_.back().get() + fill_.back();
    at[0] = static_cast<char>(type);
    at[1] = static_cast<char>(static_cast<unsigned char>(len));
    std::memcpy(at + 2, name, len + 1);
    fill_.back() += static_cast<std::uint32_t>(len + 3);
    ++count_;
  }
  std::size_t Count() const { return count_; }

  TRawEntry At(std::uint32_t offset) const {
    const char* at = blocks_[offset >> kBlockBits].get() + (offset & (kBlockSize - 1));
    const auto type = static_cast<unsigned char>(at[0]);
    const auto len = static_cast<unsigned char>(at[1]);
    return {offset, static_cast<unsigned char>(type & ~kShortFormFlag), (type & kShortFormFlag) != 0,
            std::string_view(at + 2, len), at + 2};
  }

  // Offsets of the names in the order read; kEnd after the last.
  static constexpr std::uint32_t kEnd = UINT32_MAX;
  std::uint32_t First() const { return count_ == 0 ? kEnd : 0; }
  std::uint32_t After(const TRawEntry& entry) const {
    const std::size_t block = entry.offset >> kBlockBits;
    const std::size_t pos = (entry.offset & (kBlockSize - 1)) + entry.name.size() + 3;
    if (pos < fill_[block]) return static_cast<std::uint32_t>((block << kBlockBits) + pos);
    return block + 1 < blocks_.size() ? static_cast<std::uint32_t>((block + 1) << kBlockBits) : kEnd;
  }

  // Calls each(entry) for every name in the order read.
  template <typename F>
  void ForEach(F&& each) const {
    for (std::uint32_t at = First(); at != kEnd;) {
      const TRawEntry entry = At(at);
      each(entry);
      at = After(entry);
    }
  }

  // Frees the blocks that lie wholly before offset.
  void ReleaseBefore(std::uint32_t offset) {
    for (std::size_t block = released_; block < (offset >> kBlockBits); ++block) blocks_[block].reset();
    released_ = std::max<std::size_t>(released_, offset >> kBlockBits);
  }

 private:
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::vector<std::uint32_t> fill_;
  std::size_t count_ = 0;
  std::size_t released_ = 0;
};

// The attribute word, with lstat semantics; nothing for an entry that has gone.
std::optional<std::uint32_t> AttributesOf(int dirFd, const TRawEntry& entry) {
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

  std::string folder;
  std::shared_ptr<const TFolderHandle> handle;
  int error = 0;
  TNameStore names;
  std::vector<TSelected> selected;
  std::size_t next = 0;
  bool inStoredOrder = true;  // names before the next one's may be freed

  void List(const std::string& mask, ListFilter filter, ShortNames make, NameOrder order);
  void Sort(NameOrder order);
};

// One sweep of readdir; the short names need every name of the folder (an 8.3
// long name anywhere in it takes its name away from the generated ones), so the
// names are read first and then handled in the order the system gave them.
void TFindHandle::Impl::List(const std::string& mask, ListFilter filter, ShortNames make, NameOrder order) {
  const TFolderStream dir = ReadFolder(handle->Fd(), error);
  if (!dir) return;
  errno = 0;
  while (const dirent* entry = ::readdir(dir.get())) {
    names.Add(entry->d_name, entry->d_type);
    errno = 0;
  }
  if (errno != 0) {
    error = errno;
    names = TNameStore();
    return;
  }

  TShortNameTable shortNames;
  if (make == ShortNames::Make) {
    shortNames.Reserve(names.Count());
    names.ForEach([&](const TRawEntry& entry) {
      if (entry.shortForm) shortNames.Occupy(entry.name);
    });
  }

  selected.reserve(names.Count());  // pages never touched cost nothing
  // Names, masks and short names first, all in memory; then one look at each
  // selected entry.
  names.ForEach([&](const TRawEntry& entry) {
    TShortName shortName;
    if (make == ShortNames::Make && !entry.shortForm && !IsDots(entry.name)) shortName = shortNames.Assign(entry.name);
    if (MaskMatches(mask, entry.name)) selected.push_back({entry.offset, 0, shortName});
  });
  const int dirFd = handle->Fd();
  std::size_t kept = 0;
  for (TSelected& item : selected) {
    const auto attributes = AttributesOf(dirFd, names.At(item.nameOffset));
    if (!attributes || Excluded(*attributes, filter)) continue;
    item.attributes = static_cast<std::uint16_t>(*attributes);
    selected[kept++] = item;
  }
  selected.resize(kept);
  Sort(order);
}

void TFindHandle::Impl::Sort(NameOrder order) {
  if (order == NameOrder::AsStored || selected.size() < 2) return;
  std::vector<std::string_view> sortNames;
  sortNames.reserve(selected.size());
  for (const TSelected& item : selected) sortNames.push_back(names.At(item.nameOffset).name);
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
  impl_->List(mask, filter, shortNames, order);
}

TFindHandle::TFindHandle(const std::shared_ptr<const TFolderHandle>& folder, std::string_view mask,
                         ListFilter filter, ShortNames shortNames, NameOrder order)
    : impl_(std::make_unique<Impl>()) {
  const std::size_t slash = mask.rfind('/');
  const std::string_view part = slash == std::string_view::npos ? std::string_view() : mask.substr(0, slash + 1);
  const std::string own(slash == std::string_view::npos ? mask : mask.substr(slash + 1));
  impl_->folder = folder->Path() + std::string(part);
  if (own.empty()) return;
  if (part.empty()) {
    impl_->handle = folder;
  } else {
    auto handle = std::make_shared<TFolderHandle>();
    impl_->error = folder->OpenRelative(part, *handle);
    if (impl_->error != 0) return;
    impl_->handle = std::move(handle);
  }
  impl_->List(own, filter, shortNames, order);
}

TFindHandle::~TFindHandle() = default;
TFindHandle::TFindHandle(TFindHandle&&) noexcept = default;
TFindHandle& TFindHandle::operator=(TFindHandle&&) noexcept = default;

bool TFindHandle::FindNext(TFindData& entry) {
  if (!impl_ || impl_->next >= impl_->selected.size()) {
    if (impl_) {
      impl_->names = TNameStore();
      std::vector<Impl::TSelected>().swap(impl_->selected);
      impl_->next = 0;
    }
    return false;
  }
  const Impl::TSelected& item = impl_->selected[impl_->next++];
  if (impl_->inStoredOrder) impl_->names.ReleaseBefore(item.nameOffset);
  entry.dwFileAttributes = item.attributes;
  entry.cFileName.assign(impl_->names.At(item.nameOffset).name);
  entry.cAlternateFileName.assign(item.shortName.View());
  return true;
}

const std::string& TFindHandle::Folder() const {
  static const std::string kNone;
  return impl_ ? impl_->folder : kNone;
}

std::shared_ptr<const TFolderHandle> TFindHandle::FolderHandle() const {
  return impl_ && impl_->error == 0 ? impl_->handle : nullptr;
}

int TFindHandle::Error() const { return impl_ ? impl_->error : 0; }

}  // namespace vt
