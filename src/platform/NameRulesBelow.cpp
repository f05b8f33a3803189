#include "platform/NameRulesBelow.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/MountTable.h"
#include "platform/Volumes.h"

namespace vt {

bool OtherNameRulesAt(const std::string& folder, TVolumesBelow below) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) return false;
  if (NameRulesOfDevice(info.st_dev) == TNameRules::Windows) return true;
  if (below == TVolumesBelow::Skip) return false;
  // The mount table names folders by their real paths.
  const std::unique_ptr<char, decltype(&std::free)> real(::realpath(folder.c_str(), nullptr), &std::free);
  if (!real) return false;
  std::string prefix = real.get();
  if (!prefix.ends_with('/')) prefix += '/';
  const std::vector<TMountEntry> mounts = ReadMountTable();
  return std::any_of(mounts.begin(), mounts.end(), [&](const TMountEntry& entry) {
    return entry.MountPoint.starts_with(prefix) && NameRulesOf(entry.FsType) == TNameRules::Windows;
  });
}

}  // namespace vt
