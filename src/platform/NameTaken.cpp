#include "platform/NameTaken.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <linux/magic.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>

#include <cerrno>
#include <cstdint>

namespace vt {

namespace {

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

// The same file is found under the new name only on a volume that folds case,
// where files have one link; a second hard link is a name of its own.
bool TakenByAnother(const struct stat& target, const struct stat& self) {
  const bool sameFile = target.st_dev == self.st_dev && target.st_ino == self.st_ino;
  return !sameFile || self.st_nlink > 1;
}

// Whether folder holds name; fills found. buffer ends the name with a NUL.
bool Lookup(const TFolderHandle& folder, std::string& buffer, std::string_view name, struct stat& found) {
  buffer.assign(name);
  return ::fstatat(folder.Fd(), buffer.c_str(), &found, AT_SYMLINK_NOFOLLOW) == 0;
}

}  // namespace

bool NameTakenByAnother(const std::string& folder, const std::string& oldName, const std::string& newName) {
  struct stat target {};
  if (::lstat(Join(folder, newName).c_str(), &target) != 0) return false;
  struct stat self {};
  if (::lstat(Join(folder, oldName).c_str(), &self) != 0) return true;
  return TakenByAnother(target, self);
}

bool NamesExact(const TFolderHandle& folder) {
  struct statfs volume {};
  if (::fstatfs(folder.Fd(), &volume) != 0) return false;
  // The volumes that never fold case, or only in folders flagged so.
  constexpr std::uint32_t kF2fs = 0xF2F52010;
  switch (static_cast<std::uint32_t>(volume.f_type)) {
    case BTRFS_SUPER_MAGIC:
    case XFS_SUPER_MAGIC: return true;
    case TMPFS_MAGIC:
    case EXT4_SUPER_MAGIC:
    case kF2fs: break;
    default: return false;
  }
  constexpr int kCaseFolded = 0x40000000;  // FS_CASEFOLD_FL, not in every kernel's headers
  int flags = 0;
  // No flags at all: no folded folder either.
  if (::ioctl(folder.Fd(), FS_IOC_GETFLAGS, &flags) != 0) return errno == ENOTTY || errno == EOPNOTSUPP;
  return (flags & kCaseFolded) == 0;
}

int TNameTakenLook::Enter(std::string_view folder) {
  if (Entered_ && folder == FolderPath_) return OpenError_;
  Entered_ = true;
  FolderPath_.assign(folder);
  Folder_.Close();
  Names_.Clear();
  Looks_ = 0;
  OpenError_ = TFolderHandle::Open(FolderPath_, Folder_);
  return OpenError_;
}

bool TNameTakenLook::Taken(std::string_view folder, std::string_view oldName, std::string_view newName) {
  // A folder that can be searched but not read cannot be opened: its entries
  // are asked for by path.
  if (Enter(folder) != 0) return NameTakenByAnother(FolderPath_, std::string(oldName), std::string(newName));
  // A name made after the reading is not seen: a simulation predicts, and a
  // name made after its look would not have been seen either.
  if (++Looks_ == kLooksBeforeReading && Ways_.Exact(Folder_)) Names_.Read(Folder_);
  // A path is no name of the folder: it is looked up, as it always was.
  if (newName.find('/') == std::string_view::npos && !Names_.MayHold(newName)) return false;
  struct stat target {};
  if (!Lookup(Folder_, Name_, newName, target)) return false;
  struct stat self {};
  if (!Lookup(Folder_, Name_, oldName, self)) return true;
  return TakenByAnother(target, self);
}

}  // namespace vt
