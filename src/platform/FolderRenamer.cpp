#include "platform/FolderRenamer.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/FolderHandle.h"
#include "platform/SysCalls.h"
#include "platform/Volumes.h"

namespace vt {
namespace {

// Test seam: VELTRANE_TEST_KILL_RENAME="N" ends the process with SIGKILL right
// after its Nth rename that succeeded. Read once; unset costs one branch per rename.
long RenameKillPoint() {
  const char* value =
      std::getenv("VELTRANE_TEST_KILL_RENAME");  // NOLINT(concurrency-mt-unsafe): nothing sets the environment
  return value == nullptr ? 0 : std::strtol(value, nullptr, 10);
}

void CountRename() {
  static const long killAt = RenameKillPoint();
  // Renames may run side by side, each thread with a renamer of its own.
  static std::atomic<long> renamed{0};
  if (killAt > 0 && renamed.fetch_add(1, std::memory_order_relaxed) + 1 == killAt) {
    kill(getpid(), SIGKILL);
    std::abort();
  }
}

bool IsPlaceholder(const TEntryInfo& now, const TEntryInfo& placeholder) {
  return now.Id == placeholder.Id && now.Regular && now.Size == 0;
}

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualIgnoringAsciiCase(std::string_view one, std::string_view other) {
  if (one.size() != other.size()) return false;
  for (std::size_t i = 0; i < one.size(); ++i)
    if (FoldAscii(one[i]) != FoldAscii(other[i])) return false;
  return true;
}

// This runs for both names of every rename: memchr looks at many bytes at once.
bool HoldsSlashOrNul(std::string_view name) {
  return std::memchr(name.data(), '/', name.size()) != nullptr ||
         std::memchr(name.data(), '\0', name.size()) != nullptr;
}

bool IsDotOrDotDot(std::string_view name) {
  return name[0] == '.' && (name.size() == 1 || (name.size() == 2 && name[1] == '.'));
}

// A name as the system calls want it, checked: one entry of the folder, never a path.
class TEntryName {
 public:
  explicit TEntryName(std::string_view name) {
    Text_[0] = '\0';
    if (name.empty() || IsDotOrDotDot(name) || HoldsSlashOrNul(name)) {
      Error_ = EINVAL;
    } else if (name.size() > NAME_MAX) {
      Error_ = ENAMETOOLONG;
    } else {
      name.copy(Text_, name.size());
      Text_[name.size()] = '\0';
      View_ = {Text_, name.size()};
    }
  }
  int Error() const { return Error_; }
  const char* c_str() const { return Text_; }
  std::string_view View() const { return View_; }

 private:
  char Text_[NAME_MAX + 1];
  std::string_view View_;
  int Error_ = 0;
};

// Links are missing on the volume (vfat, exfat, sshfs -o disable_hardlink), or
// the file may not be linked again (EMLINK, which holds for that file only).
bool NoHardLinks(int error) { return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK; }

// What a volume keeps of a file whose inode number it does not keep.
bool SameAttributes(const TEntryInfo& one, const TEntryInfo& other) {
  return one.Id.Device == other.Id.Device && one.Regular && other.Regular && one.Size == other.Size &&
         one.MtimeNs == other.MtimeNs && one.Mode == other.Mode;
}

// Whether a hard link shares the inode number of its file, as the first link
// made on a volume shows.
enum class TLinkNumbers : std::uint8_t { Unknown, Shared, OwnNumber };

// What a pass learns of a mount (by st_dev) at its first rename there, and
// keeps: the answers the volume gave once would come again for every file,
// and on a network volume each asks the server.
struct TMountTraits {
  std::uint64_t Device = 0;
  bool NoRenameNoReplace = false;  // answered EINVAL to RENAME_NOREPLACE
  bool NoHardLinks = false;        // refused a hard link
  bool NoLeases = false;           // grants no write lease
  TVolumeNature Nature;            // as its file system type tells
  TLinkNumbers Links = TLinkNumbers::Unknown;
};

std::atomic<std::uint64_t> gTempCounter{
    (static_cast<std::uint64_t>(::getpid()) << 32) ^
    static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())};

}  // namespace

struct TFolderRenamer::Impl {
  explicit Impl(ISysCalls& calls) : Sys(calls) {}
  ~Impl() { CloseFolder(); }

  ISysCalls& Sys;
  std::string Folder;
  int Fd = -1;
  bool OwnsFd = false;  // opened here from a path, rather than a caller's handle
  TEntryId HandleId;
  std::vector<TMountTraits> Mounts;
  std::size_t Current = 0;  // of Mounts: the mount of the file being renamed
  std::string Stranded;     // where the last rename left a file it could not finish
  int Noted = 0;            // the error a rename reported although it was carried out
  std::vector<TEntryId> Untouchable;
  TTemporaryNameHook TemporaryName;

  TMountTraits& Mount() { return Mounts[Current]; }
  void UseMountOf(const TEntryId& file);
  bool IsTheCheckedFile(const TEntryInfo& now, const TEntryInfo& checked);
  void LearnLinkNumbers(const char* from, const char* to);
  int UseFolder(const std::string& path);
  void UseHandle(const TFolderHandle& handle);
  int RenameHere(const TEntryName& from, const TEntryName& to, Unwritable unwritable,
                 const TLookedFile* looked = nullptr);
  int RenameIn(const TFolderHandle& folder, std::string_view oldName, std::string_view newName, Unwritable unwritable,
               const TLookedFile* looked);
  int LookAgain(const TEntryName& from, const TEntryInfo& checked);
  int Relocate(const TEntryName& from, const TEntryName& to);
  int CheckMoved(const TEntryName& from, const TEntryName& to, const TEntryInfo& checked);
  int SwapBack(const TEntryName& from, const TEntryName& to, const TEntryInfo& checked);
  int MovedDespite(int error, const TEntryName& from, const TEntryName& to, const TEntryInfo& checked);
  bool IsUntouchable(const TEntryId& id) const;
  void CloseFolder();
  int Move(const char* from, const char* to);
  int MoveWithoutFlag(const char* from, const char* to);
  int ReserveAndRename(const char* from, const char* to);
  int ReserveAndRenameOnServer(const char* from, const char* to);
  void RemovePlaceholder(const char* name, const TPlaceholderHold& held);
  int RenameThroughTemp(const TEntryName& oldName, const TEntryName& newName);
  bool IsTheSameEntry(const TEntryName& first, const TEntryName& second);
  bool ListingHoldsOnlyFirst(const TEntryName& first, const TEntryName& second);
};

void TFolderRenamer::Impl::CloseFolder() {
  if (Fd >= 0 && OwnsFd) Sys.CloseFolder(Fd);
  Fd = -1;
  OwnsFd = false;
  Folder.clear();
}

void TFolderRenamer::Impl::UseMountOf(const TEntryId& file) {
  if (!Mounts.empty() && Mount().Device == file.Device) return;
  for (Current = 0; Current < Mounts.size(); ++Current)
    if (Mounts[Current].Device == file.Device) return;
  TMountTraits traits;
  traits.Device = file.Device;
  traits.Nature = NatureOfDevice(file.Device);
  Mounts.push_back(traits);
}

// The file under its new name is the one looked at: the same inode, or on a
// volume whose numbers do not follow the file (a hard link with a number of
// its own, numbers the client makes up) the same size, modification time and
// mode, which the volume keeps.
bool TFolderRenamer::Impl::IsTheCheckedFile(const TEntryInfo& now, const TEntryInfo& checked) {
  if (!now.Regular) return false;
  if (now.Id == checked.Id) return true;
  const bool numbersHold = Mount().Nature.KeepsInodeNumbers && Mount().Links != TLinkNumbers::OwnNumber;
  return !numbersHold && SameAttributes(now, checked);
}

// Both names of one file, just linked: their numbers tell the volume's way
// (sshfs gives the link a number of its own). Names that differ otherwise
// were raced meanwhile and tell nothing.
void TFolderRenamer::Impl::LearnLinkNumbers(const char* from, const char* to) {
  TEntryInfo original, link;
  if (Sys.Lookup(Fd, from, original) != 0 || Sys.Lookup(Fd, to, link) != 0) return;
  if (original.Id == link.Id)
    Mount().Links = TLinkNumbers::Shared;
  else if (SameAttributes(original, link))
    Mount().Links = TLinkNumbers::OwnNumber;
}

// A relative folder is opened anew each time: the current folder may have moved.
int TFolderRenamer::Impl::UseFolder(const std::string& path) {
  if (Fd >= 0 && OwnsFd && path == Folder && !path.empty() && path.front() == '/') return 0;
  CloseFolder();
  int opened = -1;
  if (const int error = Sys.OpenFolder(path.empty() ? "." : path.c_str(), opened)) return error;
  Fd = opened;
  OwnsFd = true;
  Folder = path;
  return 0;
}

// What is known of a folder (its names) holds while it is the same folder:
// a handle's number may be reused for another once closed.
void TFolderRenamer::Impl::UseHandle(const TFolderHandle& handle) {
  if (Fd == handle.Fd() && !OwnsFd && HandleId.Device == handle.Id().Device && HandleId.Inode == handle.Id().Inode)
    return;
  CloseFolder();
  Fd = handle.Fd();
  HandleId = handle.Id();
}

// One no-replace move: the kernel's when the volume has it, else a hard link
// and removal of the old name, and only where neither exists a rename onto a
// placeholder reserved for it. EINVAL means the volume lacks the flag (FUSE
// ntfs-3g answers so even for a free target) unless the fallback finds the name
// itself invalid; only the former is remembered for the mount. So is a
// refused hard link: on a network volume every try is a round trip.
int TFolderRenamer::Impl::Move(const char* from, const char* to) {
  if (Mount().NoRenameNoReplace) return MoveWithoutFlag(from, to);
  const int error = Sys.RenameNoReplace(Fd, from, to);
  if (error != EINVAL && error != ENOSYS) return error;
  const int fallback = MoveWithoutFlag(from, to);
  if (fallback != EINVAL) Mount().NoRenameNoReplace = true;
  return fallback;
}

int TFolderRenamer::Impl::MoveWithoutFlag(const char* from, const char* to) {
  if (!Mount().NoHardLinks) {
    const int linked = Sys.Link(Fd, from, to);
    if (linked == 0) {
      if (Mount().Links == TLinkNumbers::Unknown) LearnLinkNumbers(from, to);
      const int unlinked = Sys.Unlink(Fd, from);
      if (unlinked != 0) Sys.Unlink(Fd, to);  // the file stays under its old name only
      return unlinked;
    }
    if (!NoHardLinks(linked)) return linked;
    if (linked != EMLINK) Mount().NoHardLinks = true;
  }
  return ReserveAndRename(from, to);
}

// Nothing makes a plain rename fail on a taken name, and a check before it
// leaves a moment in which another process may create the name: so the name
// is taken first, created exclusively and empty, and the file renamed over
// that placeholder once it is seen to be still ours. Whoever creates the name
// before us keeps it; so does whoever replaced, wrote to or holds open the
// placeholder meanwhile (a write lease, where the volume grants one, tells
// of any opener until the rename; a volume that grants none is not asked
// again). The handle that created the placeholder holds it from the start:
// no second open is needed to claim it. What is left: a process that starts
// to open the placeholder between the last look and the rename gets the emptied
// placeholder, no longer linked, and what it writes there is lost; on a volume
// without leases that moment runs from the claim to the rename. A volume that
// lets us create nothing gets no rename at all.
int TFolderRenamer::Impl::ReserveAndRename(const char* from, const char* to) {
  if (Mount().Nature.Network) return ReserveAndRenameOnServer(from, to);
  TPlaceholderHold held;
  if (const int error = Sys.CreateExclusive(Fd, to, held)) return error;
  if (!Mount().NoLeases) {
    const int leased = Sys.LeasePlaceholder(held);
    if (leased == EBUSY) {  // opened by another process already: theirs to fill
      Sys.ReleasePlaceholder(held);
      return EEXIST;
    }
    if (leased != 0) Mount().NoLeases = true;
  }
  const int error = Sys.PlaceholderUntouched(held) ? Sys.Rename(Fd, from, to) : EEXIST;
  if (error != 0) RemovePlaceholder(to, held);
  Sys.ReleasePlaceholder(held);
  return error;
}

// On a network volume a lease sees only this machine's openers, and a file
// held open while renamed over is hidden by FUSE on the server first (three
// more round trips): the placeholder is made without being opened, and the
// file renamed over it at once, the exclusive creation being the proof that
// the name was free. What is left: whoever writes to the placeholder, or puts
// a file under its name, between its creation and the rename loses that.
int TFolderRenamer::Impl::ReserveAndRenameOnServer(const char* from, const char* to) {
  if (const int error = Sys.CreateEmpty(Fd, to)) return error;
  const int error = Sys.Rename(Fd, from, to);
  // Only while the file is still under its old name is the new one the placeholder.
  TEntryInfo now, old;
  if (error != 0 && Sys.Lookup(Fd, from, old) == 0 && Sys.Lookup(Fd, to, now) == 0 && now.Regular && now.Size == 0 &&
      !(now.Id == old.Id))
    Sys.Unlink(Fd, to);
  return error;
}

// Still held, its inode number cannot pass to a file made meanwhile.
void TFolderRenamer::Impl::RemovePlaceholder(const char* name, const TPlaceholderHold& held) {
  TEntryInfo placeholder, now;
  if (Sys.LookAtPlaceholder(held, placeholder) == 0 && Sys.Lookup(Fd, name, now) == 0 &&
      IsPlaceholder(now, placeholder))
    Sys.Unlink(Fd, name);
}

// Whether two names lead to one entry, as the volume finds them now: on a
// volume that ignores case, a name and its case-changed form. Some volumes
// (FUSE exFAT) give each spelling its own inode number, so a different number
// is not the last word: names equal but for ASCII case, of which the folder
// holds the first and not the second, are one entry on a volume that found
// the second at all.
bool TFolderRenamer::Impl::IsTheSameEntry(const TEntryName& first, const TEntryName& second) {
  TEntryInfo one, other;
  if (Sys.Lookup(Fd, first.c_str(), one) != 0 || Sys.Lookup(Fd, second.c_str(), other) != 0) return false;
  if (one.Id == other.Id) return true;
  return EqualIgnoringAsciiCase(first.View(), second.View()) && one.Regular && other.Regular &&
         one.Size == other.Size && ListingHoldsOnlyFirst(first, second);
}

bool TFolderRenamer::Impl::ListingHoldsOnlyFirst(const TEntryName& first, const TEntryName& second) {
  bool holdsFirst = false, holdsSecond = false;
  if (Sys.ListNames(Fd, [&](std::string_view name) {
        holdsFirst = holdsFirst || name == first.View();
        holdsSecond = holdsSecond || name == second.View();
      }) != 0)
    return false;
  return holdsFirst && !holdsSecond;
}

// The volume reported the new name as taken. Only when what it found there is
// the file itself (a case-only change on a volume that ignores case) does the
// file move aside under a unique name and then to the new name, both without
// replacing anything. If the second step fails, the file goes back to its old
// name; if even that name has been taken meanwhile, the file stays under the
// temporary name as the last resort, and the caller is told where it is.
int TFolderRenamer::Impl::RenameThroughTemp(const TEntryName& oldName, const TEntryName& newName) {
  if (!IsTheSameEntry(oldName, newName)) return EEXIST;

  char temp[32];
  int moved = EEXIST;
  for (int attempt = 0; attempt < 64 && moved == EEXIST; ++attempt) {
    std::snprintf(temp, sizeof temp, ".vt-%016llx.tmp", static_cast<unsigned long long>(gTempCounter++));
    if (TemporaryName && !TemporaryName(temp)) return EIO;
    moved = Move(oldName.c_str(), temp);
  }
  if (moved != 0) return moved;
  const int error = Move(temp, newName.c_str());
  if (error == 0) return 0;
  if (Move(temp, oldName.c_str()) != 0) Stranded = temp;
  return error;
}

TFolderRenamer::TFolderRenamer() : TFolderRenamer(PosixSysCalls()) {}
TFolderRenamer::TFolderRenamer(ISysCalls& calls) : Impl_(std::make_unique<Impl>(calls)) {}
TFolderRenamer::~TFolderRenamer() = default;

int TFolderRenamer::Rename(const std::string& folder, std::string_view oldName, std::string_view newName) {
  Impl_->Stranded.clear();
  Impl_->Noted = 0;
  const TEntryName from(oldName);
  const TEntryName to(newName);
  if (from.Error() != 0) return from.Error();
  if (to.Error() != 0) return to.Error();
  if (const int error = Impl_->UseFolder(folder)) return error;
  return Impl_->RenameHere(from, to, Unwritable::Move);
}

int TFolderRenamer::Impl::RenameIn(const TFolderHandle& folder, std::string_view oldName, std::string_view newName,
                                   Unwritable unwritable, const TLookedFile* looked) {
  Stranded.clear();
  Noted = 0;
  const TEntryName from(oldName);
  const TEntryName to(newName);
  if (from.Error() != 0) return from.Error();
  if (to.Error() != 0) return to.Error();
  if (!folder.IsOpen()) return EBADF;
  UseHandle(folder);
  return RenameHere(from, to, unwritable, looked);
}

int TFolderRenamer::Rename(const TFolderHandle& folder, std::string_view oldName, std::string_view newName,
                           Unwritable unwritable) {
  return Impl_->RenameIn(folder, oldName, newName, unwritable, nullptr);
}

TLookedFile TFolderRenamer::Look(const TFolderHandle& folder, std::string_view oldName) {
  TLookedFile looked;
  const TEntryName from(oldName);
  if (from.Error() != 0) {
    looked.Error = from.Error();
  } else if (!folder.IsOpen()) {
    looked.Error = EBADF;
  } else {
    Impl_->UseHandle(folder);
    looked.Error = Impl_->Sys.Lookup(Impl_->Fd, from.c_str(), looked.Info);
  }
  return looked;
}

int TFolderRenamer::Rename(const TFolderHandle& folder, std::string_view oldName, std::string_view newName,
                           const TLookedFile& looked, Unwritable unwritable) {
  return Impl_->RenameIn(folder, oldName, newName, unwritable, &looked);
}

TLookedFile ListedFile(std::uint64_t device, std::uint64_t inode) {
  TLookedFile listed;
  listed.Info.Id = {device, inode};
  listed.Source = TLookSource::Listing;
  return listed;
}

void TFolderRenamer::OnTemporaryName(TTemporaryNameHook hook) { Impl_->TemporaryName = std::move(hook); }

// What moves is what was looked at: a regular file, and after the move the
// new name must lead to that same file. An entry swapped in between (a folder,
// a FIFO) is put back at once, without replacing anything. The look also
// stands in for the listing's, which a caller may have left to it: a file
// found immutable or append-only is then left alone. A look made ahead (for
// a journal to record before the rename) stands for it, and the file must
// still be there just before the move. Where the journal recorded only the
// listing's number, the look here must find the file of that number.
int TFolderRenamer::Impl::RenameHere(const TEntryName& from, const TEntryName& to, Unwritable unwritable,
                                     const TLookedFile* looked) {
  Noted = 0;
  TEntryInfo checked;
  const bool lookedAhead = looked != nullptr && looked->Source == TLookSource::Look;
  if (lookedAhead) {
    if (looked->Error != 0) return looked->Error;
    checked = looked->Info;
  } else if (const int error = Sys.Lookup(Fd, from.c_str(), checked)) {
    return error;
  }
  if (!checked.Regular) return kNotAFile;
  // Only the listing's number was recorded: this look is the one just before
  // the move, and what it found must be the file listed.
  if (looked != nullptr && !lookedAhead && !(checked.Id == looked->Info.Id)) return ESTALE;
  if (unwritable == Unwritable::Leave && checked.Immutable) return kLeftUnwritable;
  if (IsUntouchable(checked.Id)) return EBUSY;
  UseMountOf(checked.Id);
  if (lookedAhead && !Mount().Nature.Network) {
    if (const int error = LookAgain(from, checked)) return error;
  }
  if (const int error = Relocate(from, to)) return MovedDespite(error, from, to, checked);
  const int error = CheckMoved(from, to, checked);
  if (error == 0) CountRename();
  return error;
}

// A look made ahead leaves a block's judging for another process to swap a
// folder in under the name, and to put the file back while the pass moves
// the folder. Another look here leaves it microseconds. Each call to a
// network volume is a round trip: there the check after the move stands alone.
int TFolderRenamer::Impl::LookAgain(const TEntryName& from, const TEntryInfo& checked) {
  TEntryInfo now;
  if (const int error = Sys.Lookup(Fd, from.c_str(), now)) return error;
  if (!now.Regular) return kNotAFile;
  return IsTheCheckedFile(now, checked) ? 0 : ESTALE;
}

int TFolderRenamer::Impl::Relocate(const TEntryName& from, const TEntryName& to) {
  const int error = Move(from.c_str(), to.c_str());
  if (error == EEXIST) return RenameThroughTemp(from, to);
  return error;
}

// The look after the move asks what this machine holds: on a network volume
// the name just moved or linked here is known without another round trip.
int TFolderRenamer::Impl::CheckMoved(const TEntryName& from, const TEntryName& to, const TEntryInfo& checked) {
  TEntryInfo now;
  const int error = Sys.LookupKnown(Fd, to.c_str(), now);
  if (error == 0 && IsTheCheckedFile(now, checked)) return 0;
  if (error == 0 && Move(to.c_str(), from.c_str()) == EEXIST) return SwapBack(from, to, checked);
  return ESTALE;
}

// What was moved by mistake cannot go back: its old name is taken again, as
// when whoever swapped it in has put the file back meanwhile. If that is the
// file looked at, the two trade places in one step: the file takes the new
// name, as meant, and the other entry its own name back.
int TFolderRenamer::Impl::SwapBack(const TEntryName& from, const TEntryName& to, const TEntryInfo& checked) {
  TEntryInfo old, now;
  if (Sys.Lookup(Fd, from.c_str(), old) != 0 || !IsTheCheckedFile(old, checked)) return ESTALE;
  if (Sys.Exchange(Fd, from.c_str(), to.c_str()) != 0) return ESTALE;
  if (Sys.Lookup(Fd, to.c_str(), now) == 0 && IsTheCheckedFile(now, checked)) return 0;
  // Raced again in between: each entry back where it was found.
  Sys.Exchange(Fd, from.c_str(), to.c_str());
  return ESTALE;
}

// A volume may carry a rename out and still report a failure (EIO over a
// network): if the file is now under the new name and no longer under the
// old one, it was renamed, and the caller keeps the error as a note.
int TFolderRenamer::Impl::MovedDespite(int error, const TEntryName& from, const TEntryName& to,
                                       const TEntryInfo& checked) {
  if (error == EEXIST || !Stranded.empty()) return error;
  TEntryInfo now, old;
  if (Sys.Lookup(Fd, to.c_str(), now) != 0 || !IsTheCheckedFile(now, checked)) return error;
  if (Sys.Lookup(Fd, from.c_str(), old) != ENOENT) return error;
  Noted = error;
  return 0;
}

bool TFolderRenamer::Impl::IsUntouchable(const TEntryId& id) const {
  for (const TEntryId& kept : Untouchable)
    if (kept == id) return true;
  return false;
}

const std::string& TFolderRenamer::StrandedName() const { return Impl_->Stranded; }

int TFolderRenamer::NotedError() const { return Impl_->Noted; }

void TFolderRenamer::KeepUntouched(std::vector<TEntryId> files) { Impl_->Untouchable = std::move(files); }

bool IsStrandedName(std::string_view name) {
  constexpr std::string_view prefix = ".vt-", suffix = ".tmp";
  constexpr std::size_t digits = 16;
  if (name.size() != prefix.size() + digits + suffix.size() || !name.starts_with(prefix) || !name.ends_with(suffix))
    return false;
  for (const char c : name.substr(prefix.size(), digits))
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  return true;
}

}  // namespace vt
