#pragma once
// What the command line says of a folder of records another user could change.
#include <string>

#include "platform/TrustedFolder.h"

namespace vt {

// Why the folder is refused and how to mend it, escaped for a terminal.
std::string FolderRefusalText(const TUntrustedFolder& refused);

}  // namespace vt
