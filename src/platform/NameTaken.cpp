#include "platform/NameTaken.h"

#include <sys/stat.h>

namespace vt {

namespace {

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

}  // namespace

bool NameTakenByAnother(const std::string& folder, const std::string& oldName, const std::string& newName) {
  struct stat target {};
  if (::lstat(Join(folder, newName).c_str(), &target) != 0) return false;
  struct stat self {};
  if (::lstat(Join(folder, oldName).c_str(), &self) != 0) return true;
  // The same file is found under the new name only on a volume that folds case,
  // where files have one link; a second hard link is a name of its own.
  const bool sameFile = target.st_dev == self.st_dev && target.st_ino == self.st_ino;
  return !sameFile || self.st_nlink > 1;
}

}  // namespace vt
