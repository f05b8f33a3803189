#pragma once
// Reading the entries of an open folder, for the listings of this layer.
#include <dirent.h>

#include <memory>

namespace vt {

struct TFolderStreamCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};
using TFolderStream = std::unique_ptr<DIR, TFolderStreamCloser>;

// A reading of the folder from its first entry that leaves fd open; null with
// the errno of the failure in error.
TFolderStream ReadFolder(int fd, int& error);

}  // namespace vt
