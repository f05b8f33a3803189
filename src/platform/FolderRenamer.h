#pragma once
// Renames within one folder, never replacing an existing entry.
//
// On a volume with neither RENAME_NOREPLACE nor hard links (FUSE exFAT) the
// new name is first taken by an empty placeholder, created exclusively, and
// the file renamed over it only while no one else holds it open for writing
// (a write lease, where the volume grants one) and it is still empty. What
// remains: a process that begins to open the placeholder between the last
// look and the rename writes into a file no longer linked, and that is lost;
// without leases the moment runs from the look to the rename.
//
// Without RENAME_NOREPLACE but with hard links (sshfs, FUSE ntfs-3g) the file
// is linked under the new name, which fails if the name is taken, and its old
// name removed. Where a link gets an inode number of its own (sshfs), or the
// client makes the numbers up (FUSE, SMB), "the new name leads to the file
// looked at" is decided by what the volume keeps instead: the same size,
// modification time (sshfs: to the second) and mode. What remains there: a
// file put under the old name between the look and the link, alike in those
// three, is renamed in its place; and one put under the old name between the
// link and the removal of that name loses the name (the kernel's no-replace
// rename has no such moment). A network volume adds its caches: another
// client's file that the server holds but this one has not seen yet is still
// kept by the link or the exclusive creation, which the server refuses. With
// neither links nor leases that tell of other machines, the placeholder is
// made without being opened and the file renamed over it at once: whoever
// writes to it, or puts a file under its name, in that moment loses that.
// Each mount is asked once per renamer what it lacks (RENAME_NOREPLACE, hard
// links, leases), and the answer kept. A renamer is used by one thread at a
// time: renames that run side by side take a renamer each, which learns the
// mount for itself (a few calls per mount and renamer), and share nothing
// but the folder's handle.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SysCalls.h"

namespace vt {

// The longest name, in bytes, a Linux volume holds (NAME_MAX).
inline constexpr std::size_t kMaxNameBytes = 255;

class TFolderHandle;

// What a rename refuses to move: anything but a regular file (a folder, a
// FIFO, a device, a link), as a look just before the rename found it.
inline constexpr int kNotAFile = EISDIR;

// Whether a file flagged immutable or append-only (as far as the look just
// before the rename tells) is tried like any other, or left where it is: the
// caller then skips it as the listing would have, had it looked at the file
// (ReadOnlyFlags::LeaveToCaller).
enum class Unwritable { Move, Leave };
// The answer for a file so left: no errno, nothing was tried.
inline constexpr int kLeftUnwritable = -1;

// Where a TLookedFile's knowledge of the file comes from: a look at it, or
// only the listing's number for it (ListedFile below).
enum class TLookSource : std::uint8_t { Look, Listing };

// The look a rename begins with, made ahead of it: a caller records what it
// found (a journal, before the rename) and hands it to Rename, which then does
// not look again. Error is the look's errno.
struct TLookedFile {
  int Error = 0;
  TEntryInfo Info;
  TLookSource Source = TLookSource::Look;
};

// The file a listing found under a name, by its number alone, on a volume
// whose listing gives st_ino (TVolumeNature::ListsInodeNumbers): a caller
// records that instead of looking ahead. Rename then makes its one look just
// before the move, and moves the file only if it is still that one, regular
// and, when asked, not flagged unwritable.
TLookedFile ListedFile(std::uint64_t device, std::uint64_t inode);

// Told each hidden temporary name before a file is moved to it (or a
// placeholder made there); false keeps the file where it is, and the rename
// fails with EIO.
using TTemporaryNameHook = std::function<bool(std::string_view name)>;

class TFolderRenamer {
 public:
  TFolderRenamer();
  // Through other system calls (tests stand in volumes this machine has not).
  explicit TFolderRenamer(ISysCalls& calls);
  ~TFolderRenamer();
  TFolderRenamer(const TFolderRenamer&) = delete;
  TFolderRenamer& operator=(const TFolderRenamer&) = delete;

  // folder ends with "/"; the names hold no "/". Moves only a regular file, and
  // only the one looked at just before: afterwards the new name must lead to it,
  // else whatever moved is put back and the answer is ESTALE. Where its old
  // name was taken again meanwhile by that file (a swap undone), the two trade
  // places where the volume can (not FUSE or network): the rename is done,
  // and the other entry is back under its name. Returns 0 or the
  // errno of the failure (EEXIST when the target exists; kNotAFile; EBUSY for a
  // file kept untouched; EINVAL for an empty name, ".", ".." or one holding "/"
  // or NUL). Keeps the folder open for the next call.
  int Rename(const std::string& folder, std::string_view oldName, std::string_view newName);
  // The same within an open folder, which must stay open during the call.
  int Rename(const TFolderHandle& folder, std::string_view oldName, std::string_view newName,
             Unwritable unwritable = Unwritable::Move);
  // The look at oldName that Rename would begin with.
  TLookedFile Look(const TFolderHandle& folder, std::string_view oldName);
  // Rename after that look, made since: the file moved is the one it found.
  // After a ListedFile instead, the one look is made here, before the move.
  int Rename(const TFolderHandle& folder, std::string_view oldName, std::string_view newName, const TLookedFile& looked,
             Unwritable unwritable = Unwritable::Move);
  void OnTemporaryName(TTemporaryNameHook hook);
  // After a failed case-only rename whose way back failed too (the old name
  // was taken meanwhile): the hidden temporary name the file is now under.
  // Empty after every other call.
  const std::string& StrandedName() const;
  // After a rename that was carried out although the volume reported a
  // failure: that errno (the answer was 0). 0 after every other call.
  int NotedError() const;
  // Files never to be renamed, by identity: the pass's own result files.
  void KeepUntouched(std::vector<TEntryId> files);

 private:
  struct Impl;
  std::unique_ptr<Impl> Impl_;
};

// True for a name of the form StrandedName() gives, so Recover can bring such
// a file back under its old name.
bool IsStrandedName(std::string_view name);

// True only for a regular file; a link is not followed.
bool FileExists(const std::string& path);

}  // namespace vt
