#include "platform/EnterableFolders.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <string_view>

namespace vt {

int ListEnterableFolders(const TFolderHandle& folder, NameOrder order, std::vector<TSubFolder>& out,
                         const TListingStop& stop) {
  TFolderReading reading;
  if (const int error = reading.Read(folder, stop)) return error;
  ListEnterableFolders(folder, reading, order, out, stop);
  return 0;
}

void ListEnterableFolders(const TFolderHandle& folder, const TFolderReading& reading, NameOrder order,
                          std::vector<TSubFolder>& out, const TListingStop& stop) {
  TListingStopPoll poll(stop);
  std::vector<TSubFolder> found;
  const bool read = reading.ForEach(poll, [&](const TFolderEntry& entry) {
    if (entry.Name.front() == '.' || (entry.Type != DT_DIR && entry.Type != DT_UNKNOWN)) return;
    struct stat st {};
    if (::fstatat(folder.Fd(), entry.cName, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode))
      found.push_back(
          {std::string(entry.Name), {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)}});
  });
  if (!read || reading.Stopped() || poll.Now()) return;
  std::vector<std::string_view> names;
  names.reserve(found.size());
  for (const TSubFolder& sub : found) names.push_back(sub.Name);
  const std::vector<std::uint32_t> positions = SortedPositions(names, order);
  out.reserve(out.size() + found.size());
  for (const std::uint32_t position : positions) out.push_back(std::move(found[position]));
}

}  // namespace vt
