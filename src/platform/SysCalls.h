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
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const TEntryId&) const = default;
};

struct TEntryInfo {
  TEntryId id;
  std::uint64_t size = 0;
  bool regular = false;
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
  // An empty regular file under a name that must not exist yet (O_CREAT | O_EXCL).
  virtual int CreateExclusive(int dirFd, const char* name, TEntryInfo& created) = 0;
  virtual int Link(int dirFd, const char* from, const char* to) = 0;
  virtual int Unlink(int dirFd, const char* name) = 0;
  // lstat semantics
  virtual int Lookup(int dirFd, const char* name, TEntryInfo& info) = 0;
  // Every name of the folder exactly as stored.
  virtual int ListNames(int dirFd, const std::function<void(std::string_view)>& each) = 0;
};

// The real calls.
ISysCalls& PosixSysCalls();

}  // namespace vt
