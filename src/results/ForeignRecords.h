#pragma once
// Entries of the folder of records that carry a record's name but are not
// the user's own regular files: links, or files another user put there. They
// are never read; a front end names them, so that a record passed over is no
// mystery.
#include <string>
#include <vector>

namespace vt {

// Their paths, sorted.
std::vector<std::string> ForeignRecords(const std::string& folder);

}  // namespace vt
