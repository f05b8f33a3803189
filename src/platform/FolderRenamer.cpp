#include "platform/FolderRenamer.h"

#include <limits.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>

#include "platform/FolderHandle.h"
#include "platform/SysCalls.h"

namespace vt {
namespace {

bool IsPlaceholder(const TEntryInfo& now, const TEntryInfo& placeholder) {
  return now.id == placeholder.id && now.regular && now.size == 0;
}

bool HoldsSlashOrNul(std::string_view name) {
  // One look per byte; this runs for both names of every rename.
  for (const char c : name)
    if (c == '/' || c == '\0') return true;
  return false;
}

// A name as the system calls want it, checked: one entry of the folder, never a path.
class TEntryName {
 public:
  explicit TEntryName(std::string_view name) {
    text_[0] = '\0';
    if (name.empty() || name == "." || name == ".." || HoldsSlashOrNul(name)) {
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
  std::string stranded;  // where the last rename left a file it could not finish

  int UseFolder(const std::string& path);
  void UseHandle(const TFolderHandle& handle);
  int RenameHere(const TEntryName& from, const TEntryName& to);
  void CloseFolder();
  int Move(const char* from, const char* to);
  int MoveWithoutFlag(const char* from, const char* to);
  int ReserveAndRename(const char* from, const char* to);
  void RemovePlaceholder(const char* name, const TEntryInfo& placeholder);
  int RenameThroughTemp(const TEntryName& oldName, const TEntryName& newName);
  bool IsTheSameEntry(const char* first, const char* second);
};

void TFolderRenamer::Impl::CloseFolder() {
  if (fd >= 0 && ownsFd) sys.CloseFolder(fd);
  fd = -1;
  ownsFd = false;
  folder.clear();
  noRenameNoReplace = false;
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
// and removal of the old name, and only where neither exists a rename onto a
// placeholder reserved for it. EINVAL means the volume lacks the flag (FUSE
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
  return ReserveAndRename(from, to);
}

// Nothing makes a plain rename fail on a taken name, and a check before it
// leaves a moment in which another process may create the name: so the name
// is taken first, created exclusively and empty, and the file renamed over
// that placeholder once it is seen to be still ours. Whoever creates the name
// before us keeps it; so does whoever replaced or wrote to the placeholder
// meanwhile. A volume that lets us create nothing gets no rename at all.
int TFolderRenamer::Impl::ReserveAndRename(const char* from, const char* to) {
  TEntryInfo placeholder;
  if (const int error = sys.CreateExclusive(fd, to, placeholder)) return error;
  TEntryInfo now;
  if (sys.Lookup(fd, to, now) != 0 || !IsPlaceholder(now, placeholder)) return EEXIST;
  const int error = sys.Rename(fd, from, to);
  if (error != 0) RemovePlaceholder(to, placeholder);
  return error;
}

void TFolderRenamer::Impl::RemovePlaceholder(const char* name, const TEntryInfo& placeholder) {
  TEntryInfo now;
  if (sys.Lookup(fd, name, now) == 0 && IsPlaceholder(now, placeholder)) sys.Unlink(fd, name);
}

// Whether two names lead to one entry, as the volume finds them now: on a
// volume that ignores case, a name and its case-changed form.
bool TFolderRenamer::Impl::IsTheSameEntry(const char* first, const char* second) {
  TEntryInfo one, other;
  return sys.Lookup(fd, first, one) == 0 && sys.Lookup(fd, second, other) == 0 && one.id == other.id;
}

// The volume reported the new name as taken. Only when what it found there is
// the file itself (a case-only change on a volume that ignores case) does the
// file move aside under a unique name and then to the new name, both without
// replacing anything. If the second step fails, the file goes back to its old
// name; if even that name has been taken meanwhile, the file stays under the
// temporary name as the last resort, and the caller is told where it is.
int TFolderRenamer::Impl::RenameThroughTemp(const TEntryName& oldName, const TEntryName& newName) {
  if (!IsTheSameEntry(oldName.c_str(), newName.c_str())) return EEXIST;

  char temp[32];
  int moved = EEXIST;
  for (int attempt = 0; attempt < 64 && moved == EEXIST; ++attempt) {
    std::snprintf(temp, sizeof temp, ".vt-%016llx.tmp", static_cast<unsigned long long>(gTempCounter++));
    moved = Move(oldName.c_str(), temp);
  }
  if (moved != 0) return moved;
  const int error = Move(temp, newName.c_str());
  if (error == 0) return 0;
  if (Move(temp, oldName.c_str()) != 0) stranded = temp;
  return error;
}

TFolderRenamer::TFolderRenamer() : TFolderRenamer(PosixSysCalls()) {}
TFolderRenamer::TFolderRenamer(ISysCalls& calls) : impl_(std::make_unique<Impl>(calls)) {}
TFolderRenamer::~TFolderRenamer() = default;

int TFolderRenamer::Rename(const std::string& folder, std::string_view oldName, std::string_view newName) {
  impl_->stranded.clear();
  const TEntryName from(oldName);
  const TEntryName to(newName);
  if (from.Error() != 0) return from.Error();
  if (to.Error() != 0) return to.Error();
  if (const int error = impl_->UseFolder(folder)) return error;
  return impl_->RenameHere(from, to);
}

int TFolderRenamer::Rename(const TFolderHandle& folder, std::string_view oldName, std::string_view newName) {
  impl_->stranded.clear();
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
  return error;
}

const std::string& TFolderRenamer::StrandedName() const { return impl_->stranded; }

bool IsStrandedName(std::string_view name) {
  constexpr std::string_view prefix = ".vt-", suffix = ".tmp";
  constexpr std::size_t digits = 16;
  if (name.size() != prefix.size() + digits + suffix.size() || !name.starts_with(prefix) ||
      !name.ends_with(suffix))
    return false;
  for (const char c : name.substr(prefix.size(), digits))
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  return true;
}

}  // namespace vt
