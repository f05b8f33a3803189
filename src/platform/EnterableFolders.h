#pragma once
// The sub-folders a walk enters: real folders (never a link to one) whose
// names do not begin with ".", each with the identity it had when listed, so
// that opening it later can tell whether it is still the same folder.
#include <string>
#include <vector>

#include "platform/FolderHandle.h"
#include "platform/FolderReading.h"
#include "platform/ListingStop.h"
#include "platform/NameOrder.h"

namespace vt {

struct TSubFolder {
  std::string Name;
  TEntryId Id;
};

// Appends them in the order asked for; 0 or the errno of reading the folder.
// Only entries whose type the folder does not tell as "no folder" get a look.
// When stop ends the listing early nothing is appended, and the answer is 0.
int ListEnterableFolders(const TFolderHandle& folder, NameOrder order, std::vector<TSubFolder>& out,
                         const TListingStop& stop = {});
// The same from a reading of folder already made; a stopped reading appends nothing.
void ListEnterableFolders(const TFolderHandle& folder, const TFolderReading& reading, NameOrder order,
                          std::vector<TSubFolder>& out, const TListingStop& stop = {});

}  // namespace vt
