#pragma once
// The FOLDER argument as a pass needs it: absolute, ending with "/".
#include <string>

#include "engine/Expected.h"

namespace vt {

// A relative folder is taken from the current folder. "." and ".." are resolved
// (".." through the real folders, as the system would); links stay as typed otherwise.
// The failure says why the folder cannot be used.
TExpected<std::string, std::string> ResolveFolder(const std::string& argument);

}  // namespace vt
