#include "browse/FileListing.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <utility>

#include "browse/SortWithoutCase.h"
#include "platform/DirectoryListing.h"
#include "platform/FindData.h"
#include "platform/FolderHandle.h"
#include "platform/NameListing.h"

namespace vt {

namespace {

// Collects what the request selects; false once the listing was stopped.
class TCollector {
 public:
  TCollector(const TFileListRequest& request, const std::function<void()>& onLong)
      : Asked_(request.Asked),
        Normal_(request.Normal),
        // Kinds of entry that are left out unless asked for.
        Excluded_((FileAttr::Hidden | FileAttr::System | FileAttr::VolumeLabel | FileAttr::Directory) & ~request.Asked),
        OnLong_(onLong) {}

  void Add(std::string name, std::uint32_t attributes) {
    if ((attributes & Excluded_) != 0) return;
    if (!Normal_ && (attributes & Asked_) == 0) return;
    if (attributes & FileAttr::Directory)
      (Arranging_ ? Folders_ : Found_).push_back("[" + name + "]");
    else
      Found_.push_back(std::move(name));
    if (Found_.size() + Folders_.size() == kLongFillFrom && OnLong_) OnLong_();
  }
  // Files and folders kept apart, for an order of the files alone.
  void KeepFoldersApart() { Arranging_ = true; }
  std::vector<std::string>& Folders() { return Folders_; }
  // Room for all at once: growing would hold the names one and a half times
  // over. Many pieces still grow it by half each time, never piece by piece.
  void Expect(std::size_t more) {
    const std::size_t needed = Found_.size() + more;
    if (needed > Found_.capacity()) Found_.reserve(std::max(needed, Found_.capacity() + Found_.capacity() / 2));
  }
  std::vector<std::string>& Found() { return Found_; }

 private:
  const std::uint32_t Asked_;
  const bool Normal_;
  const std::uint32_t Excluded_;
  const std::function<void()>& OnLong_;
  std::vector<std::string> Found_;
  std::vector<std::string> Folders_;
  bool Arranging_ = false;
};

// Only the full listing looks at each file for its write bits.
bool ListWithRenameFlags(const std::string& pattern, const TListingStop& stop, TCollector& collector) {
  const std::size_t slash = pattern.rfind('/');
  const std::string mask = pattern.substr(slash + 1);
  if (mask.empty()) return true;
  auto folder = std::make_shared<TFolderHandle>();
  if (TFolderHandle::Open(pattern.substr(0, slash + 1), *folder) != 0) return true;
  // Listed as stored: the names are sorted once, all pieces together.
  TFindHandle find(folder, mask, ListFilter::All, ShortNames::Skip, NameOrder::AsStored, stop);
  TFindData entry;
  while (find.FindNext(entry)) collector.Add(std::move(entry.cFileName), entry.dwFileAttributes);
  return !(stop && stop());
}

bool ListQuickly(const std::string& pattern, std::size_t expected, const TListingStop& stop, TCollector& collector) {
  std::vector<TListedName> entries;
  // Grown by doubling, a listing of many names would hold them up to three
  // times over while it moves them; a few more than last time are let in.
  if (expected > collector.Found().size()) entries.reserve(expected - collector.Found().size() + expected / 32);
  ListNames(pattern, entries, stop);
  if (stop && stop()) return false;
  collector.Expect(entries.size());
  for (auto& entry : entries) collector.Add(std::move(entry.Name), entry.Attributes);
  return true;
}

}  // namespace

std::optional<std::vector<std::string>> ListFiles(const TFileListRequest& request, const TListingStop& stop,
                                                  const std::function<void()>& onLong) {
  TCollector collector(request, onLong);
  if (request.Arrange) collector.KeepFoldersApart();
  for (const std::string& pattern : request.Patterns) {
    const bool listed = request.Asked & FileAttr::ReadOnly ? ListWithRenameFlags(pattern, stop, collector)
                                                           : ListQuickly(pattern, request.Expected, stop, collector);
    if (!listed) return std::nullopt;
  }
  // One sort of everything found beats keeping the list sorted on every insert.
  SortWithoutCase(collector.Found());
  if (request.Arrange && !request.Patterns.empty()) {
    const std::string& pattern = request.Patterns.front();
    request.Arrange(pattern.substr(0, pattern.rfind('/') + 1), collector.Found(), stop);
    if (stop && stop()) return std::nullopt;
    SortWithoutCase(collector.Folders());
    collector.Found().insert(collector.Found().end(), std::make_move_iterator(collector.Folders().begin()),
                             std::make_move_iterator(collector.Folders().end()));
  }
  return std::move(collector.Found());
}

}  // namespace vt
