#include "platform/FolderNames.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <functional>
#include <memory>

namespace vt {

std::uint64_t HashOfName(std::string_view name) { return std::hash<std::string_view>{}(name); }

int TFolderNames::Read(const TFolderHandle& folder) {
  Clear();
  if (!folder.IsOpen()) return EBADF;
  if (::lseek(folder.Fd(), 0, SEEK_SET) < 0) return errno;
  // One block, hashed as it comes: a folder of a million names costs their
  // hashes and no copy of the names.
  constexpr std::size_t kBlockSize = std::size_t{1} << 15;
  const auto block = std::make_unique_for_overwrite<char[]>(kBlockSize);
  for (;;) {
    const ssize_t got = ::getdents64(folder.Fd(), block.get(), kBlockSize);
    if (got < 0) {
      const int error = errno;
      Clear();
      return error;
    }
    if (got == 0) break;
    for (ssize_t at = 0; at < got;) {
      // The system wrote a dirent64 record at this position of the block.
      const auto* entry = reinterpret_cast<const dirent64*>(block.get() + at);
      Hashes_.push_back(Hash_(std::string_view(entry->d_name)));
      at += entry->d_reclen;
    }
  }
  std::sort(Hashes_.begin(), Hashes_.end());
  Read_ = true;
  return 0;
}

bool TFolderNames::MayHold(std::string_view name) const {
  return !Read_ || std::binary_search(Hashes_.begin(), Hashes_.end(), Hash_(name));
}

void TFolderNames::Clear() {
  std::vector<std::uint64_t>().swap(Hashes_);
  Read_ = false;
}

}  // namespace vt
