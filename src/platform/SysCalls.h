#pragma once
// The few system calls a rename goes through, behind an interface, so that
// tests can make them answer as a volume this machine cannot mount would
// (no RENAME_NOREPLACE, no hard links, names without case), or act between
// two calls as a racing process would.
// Every call returns 0 or the errno of its failure.
#include <cstdint>
#include <functional>
#include <string_view>

namespace vt {

struct TEntryId {
  std::uint64_t Device = 0;
  std::uint64_t Inode = 0;
  bool operator==(const TEntryId&) const = default;
};

struct TEntryInfo {
  TEntryId Id;
  std::uint64_t Size = 0;
  bool Regular = false;
  std::uint32_t Mode = 0;  // st_mode: type and permission bits
  std::uint64_t Links = 0;
  std::int64_t MtimeNs = 0;  // last modification, in nanoseconds since the epoch
  bool Immutable = false;    // a regular file flagged immutable or append-only (ImmutableFlags.h)
};

// A placeholder created and held open for the rename over it.
struct TPlaceholderHold {
  int Fd = -1;
  bool Leased = false;  // the volume granted a write lease on it
};

class ISysCalls {
 public:
  virtual ~ISysCalls() = default;
  // A handle of the folder for the calls below (O_PATH is enough for them).
  virtual int OpenFolder(const char* path, int& fd) = 0;
  virtual void CloseFolder(int fd) = 0;
  // renameat2(..., RENAME_NOREPLACE)
  virtual int RenameNoReplace(int dirFd, const char* from, const char* to) = 0;
  // renameat: replaces the target; only ever called onto a placeholder of our own
  virtual int Rename(int dirFd, const char* from, const char* to) = 0;
  // renameat2(..., RENAME_EXCHANGE): both names stay, each on the other's entry
  virtual int Exchange(int dirFd, const char* first, const char* second) = 0;
  // An empty regular file under a name that must not exist yet (O_CREAT |
  // O_EXCL), kept open in held; closed by ReleasePlaceholder.
  virtual int CreateExclusive(int dirFd, const char* name, TPlaceholderHold& held) = 0;
  // The same without opening it (mknodat S_IFREG): one call to a server.
  virtual int CreateEmpty(int dirFd, const char* name) = 0;
  virtual int Link(int dirFd, const char* from, const char* to) = 0;
  virtual int Unlink(int dirFd, const char* name) = 0;
  // Asks for a write lease on the held placeholder, which tells of anyone who
  // opens it until it is released: EBUSY when another process has it open
  // already; another errno when the volume grants no leases.
  virtual int LeasePlaceholder(TPlaceholderHold& held) = 0;
  // Whether the held placeholder is still untouched: nobody began to open it
  // since the lease (its lease is not being broken), it is still empty and
  // still linked once (nothing was renamed over it, it was not removed).
  virtual bool PlaceholderUntouched(const TPlaceholderHold& held) = 0;
  // fstat semantics, of the held placeholder.
  virtual int LookAtPlaceholder(const TPlaceholderHold& held, TEntryInfo& info) = 0;
  virtual void ReleasePlaceholder(TPlaceholderHold& held) = 0;
  // lstat semantics; Immutable where the look itself reports the flags
  virtual int Lookup(int dirFd, const char* name, TEntryInfo& info) = 0;
  // The same as this machine knows it, without asking a server again where
  // the volume allows (statx AT_STATX_DONT_SYNC): for a name just moved here.
  virtual int LookupKnown(int dirFd, const char* name, TEntryInfo& info) = 0;
  // Every name of the folder exactly as stored.
  virtual int ListNames(int dirFd, const std::function<void(std::string_view)>& each) = 0;
};

// The real calls.
ISysCalls& PosixSysCalls();

// What path names, links followed (stat semantics); 0 or the errno.
int LookAtPath(const char* path, TEntryInfo& info);
// The same with lstat semantics: a link is looked at, not followed.
int LookAtEntry(const char* path, TEntryInfo& info);

}  // namespace vt
