#include "platform/NameListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>
#include <optional>

#include "platform/EntryAttributes.h"
#include "platform/MaskMatch.h"

namespace vt {

namespace {

struct TDirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

std::optional<EntryKind> KindOf(int dirFd, const dirent& entry) {
  // The file list never asks for write bits, so a regular file needs no look either.
  if (entry.d_type == DT_REG) return EntryKind::Regular;
  if (const auto kind = KindFromDirentType(entry.d_type)) return kind;
  struct stat st {};
  if (::fstatat(dirFd, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) return std::nullopt;  // gone meanwhile
    return EntryKind::Other;
  }
  if (S_ISREG(st.st_mode)) return EntryKind::Regular;
  if (S_ISDIR(st.st_mode)) return EntryKind::Directory;
  if (S_ISLNK(st.st_mode)) return EntryKind::Symlink;
  return EntryKind::Other;
}

}  // namespace

int ListNames(std::string_view pattern, std::vector<TListedName>& names, const TListingStop& stop) {
  const std::size_t slash = pattern.rfind('/');
  const std::string_view mask = slash == std::string_view::npos ? pattern : pattern.substr(slash + 1);
  const std::string folder =
      slash == std::string_view::npos ? std::string("./") : std::string(pattern.substr(0, slash + 1));
  if (mask.empty()) return 0;
  const std::unique_ptr<DIR, TDirCloser> dir(::opendir(folder.c_str()));
  if (!dir) return errno;
  const int dirFd = ::dirfd(dir.get());
  const std::size_t before = names.size();
  TListingStopPoll poll(stop);
  while (const dirent* entry =
             ::readdir(dir.get())) {  // NOLINT(concurrency-mt-unsafe): each stream is read by one thread
    if (poll.Entry()) {
      names.resize(before);
      return 0;
    }
    const std::string_view name(entry->d_name);
    if (!MaskMatches(mask, name)) continue;
    const auto kind = KindOf(dirFd, *entry);
    if (!kind) continue;
    names.push_back({std::string(name), EntryAttributes(*kind, RenameFlags::None, name)});
  }
  return 0;
}

}  // namespace vt
