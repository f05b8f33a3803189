#include "platform/FolderRenamer.h"

#include <limits.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <optional>

#include "platform/FolderHandle.h"
#include "platform/NameHashSet.h"
#include "platform/SysCalls.h"

namespace vt {
namespace {

// A name as the system calls want it, checked: one entry of the folder, never a path.
class TEntryName {
 public:
  explicit TEntryName(std::string_view name) {
    text_[0] = '\0';
    if (name.empty() || name == "." || name == ".." || name.find_first_of(std::string_view("/\0", 2)) != name.npos) {
      error_ = EINVAL;
    } else if (name.size() > NAME_MAX) {
      error_ = ENAMETOOLONG;
    } else {
      name.copy(text_, name.size());
      text_[name.size()] = '\0';
      view_ = {text_, name.size()};
    }
  }
  int Error() const { return error_; }
  const char* c_str() const { return text_; }
  std::string_view View() const { return view_; }

 private:
  char text_[NAME_MAX + 1];
  std::string_view view_;
  int error_ = 0;
};

// Links are missing on the volume (vfat, exfat), or the file may not be linked.
bool NoHardLinks(int error) {
  return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK;
}

std::atomic<std::uint64_t> gTempCounter{
    (static_cast<std::uint64_t>(::getpid()) << 32) ^
    static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())};

}  // namespace

struct TFolderRenamer::Impl {
  explicit Impl(ISysCalls& calls) : sys(calls) {}
  ~Impl() { CloseFolder(); }

  ISysCalls& sys;
  std::string folder;
  int fd = -1;
  bool ownsFd = false;  // opened here from a path, rather than a caller's handle
  TEntryId handleId;
  bool noRenameNoReplace = false;  // the volume answered EINVAL to RENAME_NOREPLACE
  std::optional<TNameHashSet> exactNames;  // read on the first clash in the folder

  int UseFolder(const std::string& path);
  void UseHandle(const TFolderHandle& handle);
  int RenameHere(const TEntryName& from, const TEntryName& to);
  void CloseFolder();
  int Move(const char* from, const char* to);
  int MoveWithoutFlag(const char* from, const char* to);
  int CheckedRename(const char* from, const char* to);
  int RenameThroughTemp(const TEntryName& oldName, const TEntryName& newName);
  int HasExactName(std::string_view name, bool& found);
  void Renamed(std::string_view from, std::string_view to);
};

void TFolderRenamer::Impl::CloseFolder() {
  if (fd >= 0 && ownsFd) sys.CloseFolder(fd);
  fd = -1;
  ownsFd = false;
  folder.clear();
  noRenameNoReplace = false;
  exactNames.reset();
}

// A relative folder is opened anew each time: the current folder may have moved.
int TFolderRenamer::Impl::UseFolder(const std::string& path) {
  if (fd >= 0 && ownsFd && path == folder && !path.empty() && path.front() == '/') return 0;
  CloseFolder();
  int opened = -1;
  if (const int error = sys.OpenFolder(path.empty() ? "." : path.c_str(), opened)) return error;
  fd = opened;
  ownsFd = true;
  folder = path;
  return 0;
}

// What is known of a folder (no RENAME_NOREPLACE, its names) holds while it is
// the same folder: a handle's number may be reused for another once closed.
void TFolderRenamer::Impl::UseHandle(const TFolderHandle& handle) {
  if (fd == handle.Fd() && !ownsFd && handleId.device == handle.Id().device && handleId.inode == handle.Id().inode)
    return;
  CloseFolder();
  fd = handle.Fd();
  handleId = handle.Id();
}

// One no-replace move: the kernel's when the volume has it, else a hard link
// and removal of the old name, and only where neither exists a rename after
// checking the target is absent. EINVAL means the volume lacks the flag (FUSE
// ntfs-3g answers so even for a free target) unless the fallback finds the name
// itself invalid; only the former is remembered for the folder.
int TFolderRenamer::Impl::Move(const char* from, const char* to) {
  if (noRenameNoReplace) return MoveWithoutFlag(from, to);
  const int error = sys.RenameNoReplace(fd, from, to);
  if (error != EINVAL && error != ENOSYS) return error;
  const int fallback = MoveWithoutFlag(from, to);
  if (fallback != EINVAL) noRenameNoReplace = true;
  return fallback;
}

int TFolderRenamer::Impl::MoveWithoutFlag(const char* from, const char* to) {
  const int linked = sys.Link(fd, from, to);
  if (linked == 0) {
    const int unlinked = sys.Unlink(fd, from);
    if (unlinked != 0) sys.Unlink(fd, to);  // the file stays under its old name only
    return unlinked;
  }
  if (!NoHardLinks(linked)) return linked;
  return CheckedRename(from, to);
}

int TFolderRenamer::Impl::CheckedRename(const char* from, const char* to) {
  TEntryId id;
  const int lookup = sys.Lookup(fd, to, id);
  if (lookup == 0) return EEXIST;
  if (lookup != ENOENT) return lookup;
  return sys.Rename(fd, from, to);
}

// Whether the folder holds an entry of exactly this name. The names are read
// once per folder, at its first clash, and then kept up to date with our own
// renames, so that a volume that ignores case costs one read of the folder,
// not one per file. A name another process adds later is still caught: the
// last step of a case-only rename does not replace it either.
int TFolderRenamer::Impl::HasExactName(std::string_view name, bool& found) {
  if (!exactNames) {
    TNameHashSet names;
    if (const int error = sys.ListNames(fd, [&](std::string_view entry) { names.Insert(entry); })) return error;
    exactNames = std::move(names);
  }
  found = exactNames->Contains(name);
  return 0;
}

void TFolderRenamer::Impl::Renamed(std::string_view from, std::string_view to) {
  if (!exactNames) return;
  exactNames->Erase(from);
  exactNames->Insert(to);
}

// The volume reported the new name as taken, but with no entry of exactly that
// name the one it found is under other letter case, and may be the file itself
// (device and inode numbers cannot tell on FUSE volumes): move it aside under a
// unique name and then to the new name, both without replacing anything. If
// the new name belongs to another file after all, the second step fails and
// the file goes back to its old name.
int TFolderRenamer::Impl::RenameThroughTemp(const TEntryName& oldName, const TEntryName& newName) {
  bool exact = false;
  if (HasExactName(newName.View(), exact) != 0 || exact) return EEXIST;

  char temp[32];
  int moved = EEXIST;
  for (int attempt = 0; attempt < 64 && moved == EEXIST; ++attempt) {
    std::snprintf(temp, sizeof temp, ".vt-%016llx.tmp", static_cast<unsigned long long>(gTempCounter++));
    moved = Move(oldName.c_str(), temp);
  }
  if (moved != 0) return moved;
  const int error = Move(temp, newName.c_str());
  if (error == 0) {
    Renamed(oldName.View(), newName.View());
    return 0;
  }
  Move(temp, oldName.c_str());
  return error;
}

TFolderRenamer::TFolderRenamer() : TFolderRenamer(PosixSysCalls()) {}
TFolderRenamer::TFolderRenamer(ISysCalls& calls) : impl_(std::make_unique<Impl>(calls)) {}
TFolderRenamer::~TFolderRenamer() = default;

int TFolderRenamer::Rename(const std::string& folder, std::string_view oldName, std::string_view newName) {
  const TEntryName from(oldName);
  const TEntryName to(newName);
  if (from.Error() != 0) return from.Error();
  if (to.Error() != 0) return to.Error();
  if (const int error = impl_->UseFolder(folder)) return error;
  return impl_->RenameHere(from, to);
}

int TFolderRenamer::Rename(const TFolderHandle& folder, std::string_view oldName, std::string_view newName) {
  const TEntryName from(oldName);
  const TEntryName to(newName);
  if (from.Error() != 0) return from.Error();
  if (to.Error() != 0) return to.Error();
  if (!folder.IsOpen()) return EBADF;
  impl_->UseHandle(folder);
  return impl_->RenameHere(from, to);
}

int TFolderRenamer::Impl::RenameHere(const TEntryName& from, const TEntryName& to) {
  const int error = Move(from.c_str(), to.c_str());
  if (error == EEXIST) return RenameThroughTemp(from, to);
  if (error == 0) Renamed(from.View(), to.View());
  return error;
}

}  // namespace vt
