#pragma once
// The names a folder held when it was read, kept as sorted 32-bit hashes: 4
// bytes a name, whatever its length. A name whose hash is missing was not there;
// one whose hash is found may be another name of the same hash, so only the
// file system can say it is there (in a folder of a million names, about one
// free name in 4,000 is looked up for nothing).
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/FolderHandle.h"

namespace vt {

using TNameHash = std::uint64_t (*)(std::string_view name);
std::uint64_t HashOfName(std::string_view name);

class TFolderNames {
 public:
  explicit TFolderNames(TNameHash hash = HashOfName) : Hash_(hash) {}

  // Reads every name of folder (files, folders and all else), replacing an
  // earlier reading; 0 or the errno of reading it, and then nothing is kept.
  int Read(const TFolderHandle& folder);
  bool IsRead() const { return Read_; }
  std::size_t Size() const { return Hashes_.size(); }
  // False only for a name that was surely not in the folder when it was read.
  bool MayHold(std::string_view name) const;
  // Forgets the names and frees their room.
  void Clear();

 private:
  TNameHash Hash_;
  static std::uint32_t Kept(std::uint64_t hash) { return std::uint32_t(hash ^ (hash >> 32)); }
  std::vector<std::uint32_t> Hashes_;
  std::size_t Top(std::uint32_t hash) const;
  // Where the hashes of each value of their top bits begin, and one past the
  // last: a look searches a handful of hashes, not all of them. About half a
  // byte a name.
  std::vector<std::uint32_t> Starts_;
  unsigned TopBits_ = 0;
  bool Read_ = false;
};

}  // namespace vt
