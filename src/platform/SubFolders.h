#pragma once
// The folders directly inside a folder, for browsing: hidden ones (a name
// beginning with ".") left out; a link to a folder counts as a folder.
#include <string>
#include <vector>

namespace vt {

// Names in the order the system returns them; 0 or the errno of opening the folder.
int ListSubFolders(const std::string& folder, std::vector<std::string>& names);

}  // namespace vt
