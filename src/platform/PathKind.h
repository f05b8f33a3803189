#pragma once
// What a path names, following links: a folder, something else, or nothing.
#include <string>

namespace vt {

enum class PathKind { Missing, Folder, File };

PathKind PathKindOf(const std::string& path);

}  // namespace vt
