#pragma once
// What the file list shows of a folder: the entries its patterns select, of the
// kinds asked for, sorted without case. It reads no widget and not the
// process's current folder, so it can run on a thread of its own.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ListingStop.h"

namespace vt {

struct TFileListRequest {
  // Absolute: the folder and one piece of the mask each.
  std::vector<std::string> Patterns;
  // The listing's attribute bits of the kinds asked for besides plain files.
  std::uint32_t Asked = 0;
  bool Normal = true;  // plain files too
  // Puts the names of the plain files of a folder (given with its final "/")
  // in another order than by name; none keeps them sorted without case. Folders
  // then follow the files.
  std::function<void(const std::string& folder, std::vector<std::string>& files, const TListingStop& stop)> Arrange;
  // About how many entries the patterns select (what the same listing found
  // last time), 0 when unknown: room for them is taken at once.
  std::size_t Expected = 0;
};

// The names at which a fill counts as long (the hourglass comes up).
constexpr std::size_t kLongFillFrom = 101;

// Sorted names, a folder's as "[name]"; nothing when stop ended the listing.
// onLong is called once, when the names found reach kLongFillFrom.
std::optional<std::vector<std::string>> ListFiles(const TFileListRequest& request, const TListingStop& stop,
                                                  const std::function<void()>& onLong);

}  // namespace vt
