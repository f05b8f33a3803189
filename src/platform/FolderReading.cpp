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
  std::unique_ptr<char[]> Data;
  std::uint32_t Fill = 0;
};

TFolderReading::TFolderReading() = default;
TFolderReading::~TFolderReading() = default;
TFolderReading::TFolderReading(TFolderReading&&) noexcept = default;
TFolderReading& TFolderReading::operator=(TFolderReading&&) noexcept = default;

void TFolderReading::Clear() {
  if (Blocks_.size() > 1) Blocks_.resize(1);
  for (TBlock& block : Blocks_) block.Fill = 0;
  Used_ = 0;
  Count_ = 0;
  Released_ = 0;
  Stopped_ = false;
}

int TFolderReading::Read(const TFolderHandle& folder, const TListingStop& stop) {
  Clear();
  if (!folder.IsOpen()) return EBADF;
  // The handle's own position: an earlier reading of it has gone to the end.
  if (::lseek(folder.Fd(), 0, SEEK_SET) < 0) return errno;
  TListingStopPoll poll(stop);
  const int error = ReadAll(folder.Fd(), poll);
  if (error != 0 || Stopped_) {
    const bool stopped = Stopped_;
    Clear();
    Stopped_ = stopped;
  }
  return error;
}

// The block with room for at least one more entry, a new one when the last is full.
char* TFolderReading::Room(std::size_t& size) {
  if (Used_ == 0 || kBlockSize - Blocks_[Used_ - 1].Fill < kEntryRoom) {
    if (Used_ == Blocks_.size()) Blocks_.emplace_back();
    TBlock& block = Blocks_[Used_++];
    if (!block.Data) block.Data = std::make_unique_for_overwrite<char[]>(kBlockSize);
    block.Fill = 0;
  }
  TBlock& block = Blocks_[Used_ - 1];
  size = kBlockSize - block.Fill;
  return block.Data.get() + block.Fill;
}

int TFolderReading::ReadAll(int fd, TListingStopPoll& poll) {
  for (;;) {
    std::size_t size = 0;
    char* room = Room(size);
    const ssize_t got = ::getdents64(fd, room, size);
    if (got < 0) return errno;
    if (got == 0) break;
    Blocks_[Used_ - 1].Fill += static_cast<std::uint32_t>(got);
    for (ssize_t at = 0; at < got; at += EntryAt(room + at)->d_reclen) {
      ++Count_;
      if (poll.Entry()) {
        Stopped_ = true;
        return 0;
      }
    }
  }
  // A block left empty by the last call holds nothing to hand out.
  while (Used_ > 0 && Blocks_[Used_ - 1].Fill == 0) --Used_;
  return 0;
}

TFolderEntry TFolderReading::At(std::uint32_t offset) const {
  const char* at = Blocks_[offset >> kBlockBits].Data.get() + (offset & (kBlockSize - 1));
  const dirent64* entry = EntryAt(at);
  return {offset, entry->d_type, entry->d_ino, std::string_view(entry->d_name), entry->d_name};
}

std::uint32_t TFolderReading::After(const TFolderEntry& entry) const {
  const std::size_t block = entry.Offset >> kBlockBits;
  const std::size_t pos =
      (entry.Offset & (kBlockSize - 1)) + EntryAt(entry.cName - offsetof(dirent64, d_name))->d_reclen;
  if (pos < Blocks_[block].Fill) return static_cast<std::uint32_t>((block << kBlockBits) + pos);
  return block + 1 < Used_ ? static_cast<std::uint32_t>((block + 1) << kBlockBits) : kEnd;
}

void TFolderReading::ReleaseBefore(std::uint32_t offset) {
  const std::size_t before = std::min<std::size_t>(offset >> kBlockBits, Used_);
  for (std::size_t block = Released_; block < before; ++block) Blocks_[block].Data.reset();
  Released_ = std::max(Released_, before);
}

}  // namespace vt
