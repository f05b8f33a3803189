#pragma once
// A folder's entries as a pass listed them and put them in order, kept packed:
// a preview judges the same listing at every keystroke, and listing a folder
// of 100,000 files anew (a look at each for its flags, a sort) costs far more
// than judging its names. About 10 bytes an entry besides its name.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "passes/ProcessList.h"

namespace vt {

class TListedFolder {
 public:
  // The next entry, in the order the pass treats them.
  void Add(const TProcessList& record);
  std::size_t Size() const { return Attributes_.size(); }
  // Entry at, into out; out's storage is reused.
  void Get(std::size_t at, TProcessList& out) const;
  std::string_view Name(std::size_t at) const;
  const TFolderHandle& Folder(std::size_t at) const { return *Folders_[FolderOf_[at]]; }

 private:
  std::vector<std::shared_ptr<const TFolderHandle>> Folders_;  // one per listing
  std::vector<std::uint16_t> FolderOf_;
  std::string Names_;                // long and 8.3 name of each entry, one after the other
  std::vector<std::uint32_t> Ends_;  // two per entry: of its long name and of its 8.3 name
  std::vector<std::uint32_t> Attributes_;
  std::vector<bool> FlagsUnread_;
  // Only when some entry was read for its order or fields.
  std::vector<std::optional<TFileFacts>> Facts_;
};

}  // namespace vt
