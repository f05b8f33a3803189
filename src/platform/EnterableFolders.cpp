#include "platform/EnterableFolders.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <string_view>

#include "platform/FolderStream.h"

namespace vt {

int ListEnterableFolders(const TFolderHandle& folder, NameOrder order, std::vector<TSubFolder>& out) {
  int error = 0;
  const TFolderStream dir = ReadFolder(folder.Fd(), error);
  if (!dir) return error;
  std::vector<TSubFolder> found;
  errno = 0;
  while (const dirent* entry = ::readdir(dir.get())) {
    if (entry->d_name[0] == '.' || (entry->d_type != DT_DIR && entry->d_type != DT_UNKNOWN)) continue;
    struct stat st {};
    if (::fstatat(folder.Fd(), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode))
      found.push_back({entry->d_name, {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)}});
    errno = 0;
  }
  if (errno != 0) return errno;
  std::vector<std::string_view> names;
  names.reserve(found.size());
  for (const TSubFolder& sub : found) names.push_back(sub.Name);
  const std::vector<std::uint32_t> positions = SortedPositions(names, order);
  out.reserve(out.size() + found.size());
  for (const std::uint32_t position : positions) out.push_back(std::move(found[position]));
  return 0;
}

}  // namespace vt
