#pragma once
// The FOLDER argument as a pass needs it: absolute, ending with "/".
#include <optional>
#include <string>

namespace vt {

struct TFolderResult {
  std::optional<std::string> Folder;
  std::string Error;  // why the folder cannot be used
};

// A relative folder is taken from the current folder. "." and ".." are resolved
// (".." through the real folders, as the system would); links stay as typed otherwise.
TFolderResult ResolveFolder(const std::string& argument);

}  // namespace vt
