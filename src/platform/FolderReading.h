#pragma once
// One reading of an open folder: every name with the type the folder tells for
// it, in the order the folder gives them. A walk reads each folder once and
// takes both the files its masks select and the sub-folders it enters from
// that reading. The names stay where the system wrote them, in blocks of
// 32 KiB; the first is kept from one reading to the next, so reading a folder
// copies no name, and one of up to some 800 names allocates nothing.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/FolderHandle.h"
#include "platform/ListingStop.h"

namespace vt {

struct TFolderEntry {
  std::uint32_t Offset = 0;  // where the entry is kept, for At()
  unsigned char Type = 0;    // the folder's DT_* value; DT_UNKNOWN needs a look
  std::uint64_t Inode = 0;   // the folder's d_ino: st_ino itself only on some volumes (TVolumeNature)
  std::string_view Name;
  const char* cName = nullptr;  // the same name, NUL-terminated
};

class TFolderReading {
 public:
  TFolderReading();
  ~TFolderReading();
  TFolderReading(TFolderReading&&) noexcept;
  TFolderReading& operator=(TFolderReading&&) noexcept;
  TFolderReading(const TFolderReading&) = delete;
  TFolderReading& operator=(const TFolderReading&) = delete;

  // Reads the folder from its first entry, replacing any earlier reading.
  // 0 or the errno of reading it; when stop ends the reading early the answer
  // is 0 and nothing is kept (Stopped() tells).
  int Read(const TFolderHandle& folder, const TListingStop& stop = {});
  bool Stopped() const { return Stopped_; }
  // Forgets the names; the first block stays for the next reading.
  void Clear();

  std::size_t Count() const { return Count_; }
  static constexpr std::uint32_t kEnd = UINT32_MAX;
  // Offsets of the entries in the order read; kEnd after the last.
  std::uint32_t First() const { return Count_ == 0 ? kEnd : 0; }
  std::uint32_t After(const TFolderEntry& entry) const;
  TFolderEntry At(std::uint32_t offset) const;
  // Calls each(entry) for every entry in the order read; false when poll said stop first.
  template <typename F>
  bool ForEach(TListingStopPoll& poll, F&& each) const {
    for (std::uint32_t at = First(); at != kEnd;) {
      const TFolderEntry entry = At(at);
      each(entry);
      if (poll.Entry()) return false;
      at = After(entry);
    }
    return true;
  }
  // Frees the blocks that lie wholly before offset; their entries are gone.
  void ReleaseBefore(std::uint32_t offset);

 private:
  struct TBlock;
  int ReadAll(int fd, TListingStopPoll& poll);
  char* Room(std::size_t& size);

  std::vector<TBlock> Blocks_;
  std::size_t Used_ = 0;  // blocks holding entries of this reading
  std::size_t Count_ = 0;
  std::size_t Released_ = 0;
  bool Stopped_ = false;
};

}  // namespace vt
