#pragma once
// The longest name in a folder and, with its sub-folders, anywhere below it:
// read from the folders' listings alone, no entry looked at, so that finding it
// costs a small part of a pass over the same files.
#include <cstddef>
#include <optional>
#include <string>

#include "platform/ListingStop.h"

namespace vt {

enum class TSubFolders : bool { Skip, Include };

// In bytes; 0 for a folder that cannot be read (nor can a pass), none when
// stop ended the reading. Links to folders are not followed, as a pass's walk
// follows none.
std::optional<std::size_t> LongestNameBelow(const std::string& folder, TSubFolders subFolders,
                                            const TListingStop& stop = {});

}  // namespace vt
