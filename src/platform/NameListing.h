#pragma once
// The entries a pattern selects, for views that show names only. Selection and
// attribute words are those of TFindHandle, except that a regular file never
// carries the read-only bit and no 8.3 name is made: so no entry whose type the
// folder already tells needs a look of its own, which keeps a folder of many
// thousands of files quick to show.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ListingStop.h"

namespace vt {

struct TListedName {
  std::string Name;
  std::uint32_t Attributes = 0;
};

// pattern = folder + mask, as for TFindHandle. Appends to names; 0 or the errno of opening the folder.
// A listing that stop ends early appends nothing and answers 0.
int ListNames(std::string_view pattern, std::vector<TListedName>& names, const TListingStop& stop = {});

}  // namespace vt
