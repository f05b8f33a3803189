#include "platform/DirectoryListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/EntryAttributes.h"
#include "platform/MaskMatch.h"
#include "platform/ShortName.h"

namespace vt {
namespace {

// Names of the folder as read, each stored as [type][length][bytes]['\0'];
// the type byte carries kShortFormFlag for names already of 8.3 form.
constexpr unsigned char kShortFormFlag = 0x80;

struct TRawEntry {
  unsigned char type;
  bool shortForm;
  std::string_view name;
  const char* cName;
};

bool IsDots(std::string_view name) { return name == "." || name == ".."; }

class TRawNames {
 public:
  void Add(const char* name, unsigned char type) {
    const std::size_t len = std::strlen(name);
    const std::string_view view(name, len);
    if (!IsDots(view) && HasShortForm(view)) type |= kShortFormFlag;
    bytes_.push_back(static_cast<char>(type));
    bytes_.push_back(static_cast<char>(static_cast<unsigned char>(len)));
    bytes_.append(name, len + 1);
    ++count_;
  }
  std::size_t Count() const { return count_; }
  // Calls each(entry) for every name in the order read.
  template <typename F>
  void ForEach(F&& each) const {
    for (std::size_t at = 0; at < bytes_.size();) {
      const auto type = static_cast<unsigned char>(bytes_[at]);
      const auto len = static_cast<unsigned char>(bytes_[at + 1]);
      const char* name = bytes_.data() + at + 2;
      each(TRawEntry{static_cast<unsigned char>(type & ~kShortFormFlag), (type & kShortFormFlag) != 0,
                     std::string_view(name, len), name});
      at += 3 + len;
    }
  }

 private:
  std::string bytes_;
  std::size_t count_ = 0;
};

std::optional<EntryKind> KindFromDirent(unsigned char type) {
  switch (type) {
    case DT_DIR: return EntryKind::Directory;
    case DT_LNK: return EntryKind::Symlink;
    case DT_FIFO:
    case DT_SOCK:
    case DT_CHR:
    case DT_BLK: return EntryKind::Other;
    default: return std::nullopt;  // regular files need their mode; unknown types need a look
  }
}

// The attribute word, with lstat semantics; nothing for an entry that has gone.
std::optional<std::uint32_t> AttributesOf(int dirFd, const TRawEntry& entry) {
  if (const auto kind = KindFromDirent(entry.type)) return EntryAttributes(*kind, WriteBits::Some, entry.name);
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

struct TDirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

}  // namespace

struct TFindHandle::Impl {
  struct TSelected {
    std::uint32_t nameOffset;
    std::uint16_t nameSize;
    std::uint16_t attributes;
    TShortName shortName;
  };

  std::string folder;
  int error = 0;
  std::string names;  // the selected names, back to back
  std::vector<TSelected> selected;
  std::size_t next = 0;

  void List(const std::string& mask, ListFilter filter);
};

// One sweep of readdir; the short names need every name of the folder (an 8.3
// long name anywhere in it takes its name away from the generated ones), so the
// names are read first and then handled in the order the system gave them.
void TFindHandle::Impl::List(const std::string& mask, ListFilter filter) {
  const std::unique_ptr<DIR, TDirCloser> dir(::opendir(folder.c_str()));
  if (!dir) {
    error = errno;
    return;
  }
  TRawNames raw;
  while (const dirent* entry = ::readdir(dir.get())) raw.Add(entry->d_name, entry->d_type);

  TShortNameTable shortNames;
  shortNames.Reserve(raw.Count());
  raw.ForEach([&](const TRawEntry& entry) {
    if (entry.shortForm) shortNames.Occupy(entry.name);
  });

  const int dirFd = ::dirfd(dir.get());
  raw.ForEach([&](const TRawEntry& entry) {
    TShortName shortName;
    if (!entry.shortForm && !IsDots(entry.name)) shortName = shortNames.Assign(entry.name);
    if (!MaskMatches(mask, entry.name)) return;
    const auto attributes = AttributesOf(dirFd, entry);
    if (!attributes || Excluded(*attributes, filter)) return;
    selected.push_back({static_cast<std::uint32_t>(names.size()), static_cast<std::uint16_t>(entry.name.size()),
                        static_cast<std::uint16_t>(*attributes), shortName});
    names.append(entry.name);
  });
}

TFindHandle::TFindHandle(std::string_view pattern, ListFilter filter) : impl_(std::make_unique<Impl>()) {
  const std::size_t slash = pattern.rfind('/');
  const std::string mask(slash == std::string_view::npos ? pattern : pattern.substr(slash + 1));
  impl_->folder = slash == std::string_view::npos ? std::string("./") : std::string(pattern.substr(0, slash + 1));
  if (mask.empty()) return;
  impl_->List(mask, filter);
}

TFindHandle::~TFindHandle() = default;
TFindHandle::TFindHandle(TFindHandle&&) noexcept = default;
TFindHandle& TFindHandle::operator=(TFindHandle&&) noexcept = default;

bool TFindHandle::FindNext(TFindData& entry) {
  if (!impl_ || impl_->next >= impl_->selected.size()) {
    if (impl_) {
      std::string().swap(impl_->names);
      std::vector<Impl::TSelected>().swap(impl_->selected);
      impl_->next = 0;
    }
    return false;
  }
  const Impl::TSelected& item = impl_->selected[impl_->next++];
  entry.dwFileAttributes = item.attributes;
  entry.cFileName.assign(impl_->names, item.nameOffset, item.nameSize);
  entry.cAlternateFileName.assign(item.shortName.View());
  return true;
}

const std::string& TFindHandle::Folder() const {
  static const std::string kNone;
  return impl_ ? impl_->folder : kNone;
}

int TFindHandle::Error() const { return impl_ ? impl_->error : 0; }

}  // namespace vt
