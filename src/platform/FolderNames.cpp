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
      Hashes_.push_back(Kept(Hash_(std::string_view(entry->d_name))));
      at += entry->d_reclen;
    }
  }
  std::sort(Hashes_.begin(), Hashes_.end());
  // About eight hashes to a value of the top bits.
  TopBits_ = 0;
  while ((std::size_t{16} << TopBits_) <= Hashes_.size() && TopBits_ < 28) ++TopBits_;
  Starts_.assign((std::size_t{1} << TopBits_) + 1, 0);
  std::size_t at = 0;
  for (std::size_t top = 0; top + 1 < Starts_.size(); ++top) {
    Starts_[top] = std::uint32_t(at);
    while (at < Hashes_.size() && Top(Hashes_[at]) == top) ++at;
  }
  Starts_.back() = std::uint32_t(Hashes_.size());
  Read_ = true;
  return 0;
}

std::size_t TFolderNames::Top(std::uint32_t hash) const {
  return TopBits_ == 0 ? 0 : static_cast<std::size_t>(hash >> (32 - TopBits_));
}

bool TFolderNames::MayHold(std::string_view name) const {
  if (!Read_) return true;
  const std::uint32_t hash = Kept(Hash_(name));
  const std::size_t top = Top(hash);
  const auto first = Hashes_.begin() + Starts_[top];
  const auto last = Hashes_.begin() + Starts_[top + 1];
  return std::binary_search(first, last, hash);
}

void TFolderNames::Clear() {
  std::vector<std::uint32_t>().swap(Hashes_);
  std::vector<std::uint32_t>().swap(Starts_);
  TopBits_ = 0;
  Read_ = false;
}

}  // namespace vt
