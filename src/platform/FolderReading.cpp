#include "platform/FolderReading.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <utility>

namespace vt {
namespace {

constexpr std::size_t kBlockBits = 15;
constexpr std::size_t kBlockSize = std::size_t{1} << kBlockBits;
// Enough for any one entry (header, NAME_MAX bytes, NUL, padding): with less
// room left, the system would refuse to hand out the next entry.
constexpr std::size_t kEntryRoom = offsetof(dirent64, d_name) + 256 + 8;

const dirent64* EntryAt(const char* at) {
  // The system wrote a dirent64 record at this position of the block.
  return reinterpret_cast<const dirent64*>(at);
}

}  // namespace

struct TFolderReading::TBlock {
  std::unique_ptr<char[]> data;
  std::uint32_t fill = 0;
};

TFolderReading::TFolderReading() = default;
TFolderReading::~TFolderReading() = default;
TFolderReading::TFolderReading(TFolderReading&&) noexcept = default;
TFolderReading& TFolderReading::operator=(TFolderReading&&) noexcept = default;

void TFolderReading::Clear() {
  if (blocks_.size() > 1) blocks_.resize(1);
  for (TBlock& block : blocks_) block.fill = 0;
  used_ = 0;
  count_ = 0;
  released_ = 0;
  stopped_ = false;
}

int TFolderReading::Read(const TFolderHandle& folder, const TListingStop& stop) {
  Clear();
  if (!folder.IsOpen()) return EBADF;
  // The handle's own position: an earlier reading of it has gone to the end.
  if (::lseek(folder.Fd(), 0, SEEK_SET) < 0) return errno;
  TListingStopPoll poll(stop);
  const int error = ReadAll(folder.Fd(), poll);
  if (error != 0 || stopped_) {
    const bool stopped = stopped_;
    Clear();
    stopped_ = stopped;
  }
  return error;
}

// The block with room for at least one more entry, a new one when the last is full.
char* TFolderReading::Room(std::size_t& size) {
  if (used_ == 0 || kBlockSize - blocks_[used_ - 1].fill < kEntryRoom) {
    if (used_ == blocks_.size()) blocks_.emplace_back();
    TBlock& block = blocks_[used_++];
    if (!block.data) block.data = std::make_unique_for_overwrite<char[]>(kBlockSize);
    block.fill = 0;
  }
  TBlock& block = blocks_[used_ - 1];
  size = kBlockSize - block.fill;
  return block.data.get() + block.fill;
}

int TFolderReading::ReadAll(int fd, TListingStopPoll& poll) {
  for (;;) {
    std::size_t size = 0;
    char* room = Room(size);
    const ssize_t got = ::getdents64(fd, room, size);
    if (got < 0) return errno;
    if (got == 0) break;
    blocks_[used_ - 1].fill += static_cast<std::uint32_t>(got);
    for (ssize_t at = 0; at < got; at += EntryAt(room + at)->d_reclen) {
      ++count_;
      if (poll.Entry()) {
        stopped_ = true;
        return 0;
      }
    }
  }
  // A block left empty by the last call holds nothing to hand out.
  while (used_ > 0 && blocks_[used_ - 1].fill == 0) --used_;
  return 0;
}

TFolderEntry TFolderReading::At(std::uint32_t offset) const {
  const char* at = blocks_[offset >> kBlockBits].data.get() + (offset & (kBlockSize - 1));
  const dirent64* entry = EntryAt(at);
  return {offset, entry->d_type, std::string_view(entry->d_name), entry->d_name};
}

std::uint32_t TFolderReading::After(const TFolderEntry& entry) const {
  const std::size_t block = entry.offset >> kBlockBits;
  const std::size_t pos = (entry.offset & (kBlockSize - 1)) + EntryAt(entry.cName - offsetof(dirent64, d_name))->d_reclen;
  if (pos < blocks_[block].fill) return static_cast<std::uint32_t>((block << kBlockBits) + pos);
  return block + 1 < used_ ? static_cast<std::uint32_t>((block + 1) << kBlockBits) : kEnd;
}

void TFolderReading::ReleaseBefore(std::uint32_t offset) {
  const std::size_t before = std::min<std::size_t>(offset >> kBlockBits, used_);
  for (std::size_t block = released_; block < before; ++block) blocks_[block].data.reset();
  released_ = std::max(released_, before);
}

}  // namespace vt
