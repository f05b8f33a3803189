#pragma once
// The process's current folder, and the last folder made current on each
// volume, so that going back to a volume returns to where the user was on it.
#include <string>

namespace vt {

// Empty when the system cannot tell (the folder was removed).
std::string GetCurrentFolder();

// Makes path the process's current folder: 0, or the errno of the failure.
int SetCurrentFolder(const std::string& path);

// Makes the last folder made current on the volume at root current again, or
// its nearest folder that still exists, or the root: 0 or errno.
int SetCurrentVolume(const std::string& root);

// Last folder made current on the volume at root; the root when none was.
std::string LastFolderOnVolume(const std::string& root);

}  // namespace vt
