#pragma once
// Whether a pass over a folder can meet a volume that refuses more names than
// Linux does (FAT, exFAT, NTFS, SMB): the volume holding the folder or, with
// its sub-folders, one mounted anywhere below it.
#include <string>

namespace vt {

enum class TVolumesBelow : bool { Skip, Include };
// False for a folder that cannot be looked at.
bool OtherNameRulesAt(const std::string& folder, TVolumesBelow below);

}  // namespace vt
