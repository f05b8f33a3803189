#pragma once
// Wildcard directory listing: a pattern is a folder followed by a mask (see
// MaskMatch.h). Each entry carries its attribute word (EntryAttributes.h, links
// not followed) and its 8.3 alternate name (ShortName.h), unique in the folder.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FindData.h"
#include "platform/FolderHandle.h"
#include "platform/FolderReading.h"
#include "platform/ImmutableFlags.h"
#include "platform/ListingStop.h"
#include "platform/NameOrder.h"
#include "platform/SysCalls.h"

namespace vt {

enum class ListFilter {
  All,               // every entry the mask selects, "." and ".." included
  NoHiddenOrSystem,  // leaves out entries with the hidden, system or volume-label flag
};

// The 8.3 names cost a look-up per entry of the folder; a caller that never
// reads cAlternateFileName may leave them empty.
enum class ShortNames {
  Make,
  Skip,
};

// A regular file's read-only flag (immutable or append-only, ImmutableFlags.h)
// costs a look at the file. A caller that looks at each file anyway before it
// touches it (a rename does) may leave the flag to that look: such entries
// come with FlagsUnread set. Every other kind of
// entry, and any entry whose type the folder does not tell, is looked at as ever.
enum class ReadOnlyFlags {
  Look,
  LeaveToCaller,
};

class TFindHandle {
 public:
  // pattern = folder + mask; the mask may hold a folder part ("sub/*.txt", "../*.*").
  explicit TFindHandle(std::string_view pattern, ListFilter filter = ListFilter::All,
                       ShortNames shortNames = ShortNames::Make, NameOrder order = NameOrder::Name);
  // mask relative to an open folder: a folder part of the mask ("sub/*.txt") is
  // opened from there, everything else is listed through the folder itself.
  // A listing that stop ends early hands out nothing, and Error() stays 0.
  TFindHandle(const std::shared_ptr<const TFolderHandle>& folder, std::string_view mask,
              ListFilter filter = ListFilter::All, ShortNames shortNames = ShortNames::Make,
              NameOrder order = NameOrder::Name, const TListingStop& stop = {});
  // The same over a reading of folder already made, which must outlive the
  // listing: a walk reads each folder once for all its masks and its
  // sub-folders. A mask with a folder part still reads the folder it names.
  TFindHandle(const std::shared_ptr<const TFolderHandle>& folder, const TFolderReading& reading, std::string_view mask,
              ListFilter filter, ShortNames shortNames, NameOrder order, const TListingStop& stop = {},
              ReadOnlyFlags readOnly = ReadOnlyFlags::Look);
  ~TFindHandle();
  TFindHandle(TFindHandle&&) noexcept;
  TFindHandle& operator=(TFindHandle&&) noexcept;
  TFindHandle(const TFindHandle&) = delete;
  TFindHandle& operator=(const TFindHandle&) = delete;

  // Next selected entry, in the order asked for; false at the end.
  bool FindNext(TFindData& entry);
  // The folder actually listed, ending with "/" (the entries live there): the
  // pattern up to its last "/", kept as written ("/a/b/" + "../*" lists
  // "/a/b/../"); "./" for a pattern without any "/".
  std::string Folder() const;
  // The folder listed, open, for renames of its entries; null when it could not be opened.
  std::shared_ptr<const TFolderHandle> FolderHandle() const;
  // errno of opening or reading the folder; 0 when it was read (an empty result is not an error).
  int Error() const;

 private:
  TFindHandle(const std::shared_ptr<const TFolderHandle>& folder, const TFolderReading* reading, std::string_view mask,
              ListFilter filter, ShortNames shortNames, NameOrder order, const TListingStop& stop,
              ReadOnlyFlags readOnly);

  struct Impl;
  std::unique_ptr<Impl> Impl_;
};

// The attribute word the listing would have given an entry it left with
// FlagsUnread, looked at now (links not followed); nothing when it has gone.
std::optional<std::uint32_t> LookedAttributes(const TFolderHandle& folder, const std::string& name);

// The same look with what it found of the file besides: a caller that must
// look at each file anyway (for its date or size) asks the listing to leave
// the flags and takes them from its own look, one look per file instead of two.
struct TEntryLook {
  std::optional<std::uint32_t> Attributes;  // nothing when the entry has gone
  int Error = 0;                            // of the look; Info holds what it found only when 0
  TEntryInfo Info;
};
// source: the flags as the listing reads them (OpenWhereNeeded), or where
// they are not to be used, from the look alone.
TEntryLook LookAtEntry(const TFolderHandle& folder, const std::string& name, FlagSource source);

}  // namespace vt
