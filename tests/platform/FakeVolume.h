#pragma once
// System calls that answer as a volume this machine cannot mount would, on top
// of a real folder: without RENAME_NOREPLACE (FUSE ntfs-3g), without hard
// links (vfat), or comparing names without case (vfat, ext4 casefold), or
// giving a hard link an inode number of its own (sshfs).
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "platform/SysCalls.h"

namespace vt::test {

struct TVolumeTraits {
  const char* name;
  bool renameNoReplace;
  bool hardLinks;
  bool caseInsensitive;
  bool linkOwnNumber = false;  // a new link gets an inode number of its own; a rename keeps it
};

inline constexpr TVolumeTraits kExt4{"ext4", true, true, false};
inline constexpr TVolumeTraits kNtfs3g{"ntfs-3g", false, true, false};
inline constexpr TVolumeTraits kVfat{"vfat", false, false, true};
inline constexpr TVolumeTraits kCasefold{"ext4-casefold", true, true, true};
inline constexpr TVolumeTraits kSshfs{"sshfs", false, true, false, true};
inline constexpr TVolumeTraits kSshfsNoLinks{"sshfs-nolinks", false, false, false};

class TFakeVolume : public ISysCalls {
 public:
  explicit TFakeVolume(TVolumeTraits traits) : Traits_(traits) {}

  // Calls per kind, to see which path a rename took.
  std::map<std::string, int> calls;
  // Failures to inject: unlinking this name, or any move onto this name.
  std::string failUnlinkOf;
  int unlinkError = EACCES;
  std::string failMovesTo;
  int failMovesWith = EIO;
  // Creating a placeholder fails with this errno (a volume that lets us create nothing).
  int createError = 0;
  // Called right after a placeholder was created: a racing process acts here.
  std::function<void(int dirFd, const char* name)> afterCreate;
  // Called after every move that succeeded, with the names as asked.
  std::function<void(int dirFd, const char* from, const char* to)> afterMove;
  // Called before every move: a racing process swaps the entry here.
  std::function<void(int dirFd, const char* from, const char* to)> beforeMove;
  // Moves onto failMovesTo are carried out and then reported as failing.
  bool failAfterMoving = false;
  // Each spelling of a name gets an inode number of its own (FUSE exFAT).
  bool inodePerSpelling = false;
  // The volume grants no write leases (EINVAL).
  bool noLeases = false;
  // A moved entry gets a new inode number (numbers a FUSE client makes up anew).
  bool renumberOnMove = false;
  // Hard links are refused with this errno (sshfs -o disable_hardlink: EPERM).
  int linkError = EPERM;

  int OpenFolder(const char* path, int& fd) override {
    ++calls["open"];
    return PosixSysCalls().OpenFolder(path, fd);
  }
  void CloseFolder(int fd) override { PosixSysCalls().CloseFolder(fd); }

  int RenameNoReplace(int dirFd, const char* from, const char* to) override {
    ++calls["renameat2"];
    if (!Traits_.renameNoReplace) return EINVAL;
    if (beforeMove) beforeMove(dirFd, from, to);
    if (to == failMovesTo && !failAfterMoving) return failMovesWith;
    const auto source = Resolve(dirFd, from);
    if (!source) return ENOENT;
    if (Resolve(dirFd, to)) return EEXIST;
    const int error = Moved(dirFd, from, to, Result(::renameat2(dirFd, source->c_str(), dirFd, to, RENAME_NOREPLACE)));
    if (error == 0) CarryNumber(from, to);
    return error == 0 && to == failMovesTo ? failMovesWith : error;
  }
  // Like the real call on such a volume: a target that differs only in case is replaced.
  int Rename(int dirFd, const char* from, const char* to) override {
    ++calls["rename"];
    if (beforeMove) beforeMove(dirFd, from, to);
    if (to == failMovesTo && !failAfterMoving) return failMovesWith;
    const auto source = Resolve(dirFd, from);
    if (!source) return ENOENT;
    const auto target = Resolve(dirFd, to);
    // Stored under other letter case: gone first (an atomic replace otherwise).
    if (target && *target != *source && *target != to) ::unlinkat(dirFd, target->c_str(), 0);
    const int error = Moved(dirFd, from, to, Result(::renameat(dirFd, source->c_str(), dirFd, to)));
    if (error == 0) CarryNumber(from, to);
    return error == 0 && to == failMovesTo ? failMovesWith : error;
  }
  // Only where the kernel's no-replace flag is (local volumes); FUSE and network volumes refuse it.
  int Exchange(int dirFd, const char* first, const char* second) override {
    ++calls["exchange"];
    if (!Traits_.renameNoReplace) return EINVAL;
    const auto one = Resolve(dirFd, first);
    const auto other = Resolve(dirFd, second);
    if (!one || !other) return ENOENT;
    return Result(::renameat2(dirFd, one->c_str(), dirFd, other->c_str(), RENAME_EXCHANGE));
  }
  int Link(int dirFd, const char* from, const char* to) override {
    ++calls["link"];
    if (!Traits_.hardLinks) return linkError;
    if (beforeMove) beforeMove(dirFd, from, to);
    if (to == failMovesTo) return failMovesWith;
    const auto source = Resolve(dirFd, from);
    if (!source) return ENOENT;
    if (Resolve(dirFd, to)) return EEXIST;
    const int error = Result(::linkat(dirFd, source->c_str(), dirFd, to, 0));
    if (error == 0 && Traits_.linkOwnNumber) OwnNumbers_[to] = kOwnNumbers + ++LinksMade_;
    return error;
  }
  int Unlink(int dirFd, const char* name) override {
    ++calls["unlink"];
    if (name == failUnlinkOf) return unlinkError;
    const auto entry = Resolve(dirFd, name);
    if (!entry) return ENOENT;
    OwnNumbers_.erase(name);
    return Result(::unlinkat(dirFd, entry->c_str(), 0));
  }
  int CreateExclusive(int dirFd, const char* name, TPlaceholderHold& held) override {
    ++calls["create"];
    if (createError != 0) return createError;
    if (Resolve(dirFd, name)) return EEXIST;
    const int error = PosixSysCalls().CreateExclusive(dirFd, name, held);
    if (error == 0 && afterCreate) afterCreate(dirFd, name);
    return error;
  }
  int CreateEmpty(int dirFd, const char* name) override {
    ++calls["create"];
    if (createError != 0) return createError;
    if (Resolve(dirFd, name)) return EEXIST;
    const int error = PosixSysCalls().CreateEmpty(dirFd, name);
    if (error == 0 && afterCreate) afterCreate(dirFd, name);
    return error;
  }
  int Lookup(int dirFd, const char* name, TEntryInfo& info) override {
    ++calls["lookup"];
    const auto entry = Resolve(dirFd, name);
    if (!entry) return ENOENT;
    const int error = PosixSysCalls().Lookup(dirFd, entry->c_str(), info);
    if (error == 0 && inodePerSpelling && *entry != name) info.Id.Inode ^= std::hash<std::string>{}(name) | 1u << 30;
    if (const auto own = OwnNumbers_.find(name); error == 0 && own != OwnNumbers_.end()) info.Id.Inode = own->second;
    return error;
  }
  int LookupKnown(int dirFd, const char* name, TEntryInfo& info) override { return Lookup(dirFd, name, info); }
  int LeasePlaceholder(TPlaceholderHold& held) override {
    ++calls["lease"];
    return noLeases ? EINVAL : PosixSysCalls().LeasePlaceholder(held);
  }
  int LookAtPlaceholder(const TPlaceholderHold& held, TEntryInfo& info) override {
    return PosixSysCalls().LookAtPlaceholder(held, info);
  }
  bool PlaceholderUntouched(const TPlaceholderHold& held) override {
    return PosixSysCalls().PlaceholderUntouched(held);
  }
  void ReleasePlaceholder(TPlaceholderHold& held) override { PosixSysCalls().ReleasePlaceholder(held); }
  int ListNames(int dirFd, const std::function<void(std::string_view)>& each) override {
    ++calls["list"];
    return PosixSysCalls().ListNames(dirFd, each);
  }

  // ASCII letters and the Latin-1 letters of two-byte UTF-8 fold; enough to
  // stand in for a volume's case table.
  static std::string Fold(std::string_view name) {
    std::string folded(name);
    for (std::size_t i = 0; i < folded.size(); ++i) {
      const auto c = static_cast<unsigned char>(folded[i]);
      if (c >= 'a' && c <= 'z') folded[i] = static_cast<char>(c - 32);
      if (c == 0xC3 && i + 1 < folded.size()) {
        const auto next = static_cast<unsigned char>(folded[i + 1]);
        if (next >= 0xA0 && next <= 0xBE && next != 0xB7) folded[i + 1] = static_cast<char>(next - 32);
        ++i;
      }
    }
    return folded;
  }

 private:
  static int Result(int rc) { return rc == 0 ? 0 : errno; }
  static constexpr std::uint64_t kOwnNumbers = std::uint64_t{1} << 40;
  // A renamed link takes its number along, as a FUSE volume's node does.
  // (renumberOnMove: unless the volume numbers it anew)
  void CarryNumber(const char* from, const char* to) {
    if (renumberOnMove) {
      OwnNumbers_.erase(from);
      OwnNumbers_[to] = kOwnNumbers + ++LinksMade_;
      return;
    }
    const auto own = OwnNumbers_.find(from);
    if (own == OwnNumbers_.end()) {
      OwnNumbers_.erase(to);
      return;
    }
    const std::uint64_t number = own->second;
    OwnNumbers_.erase(own);
    OwnNumbers_[to] = number;
  }
  int Moved(int dirFd, const char* from, const char* to, int error) {
    if (error == 0 && afterMove) afterMove(dirFd, from, to);
    return error;
  }

  // The name the entry is stored under, found as the volume would find it.
  std::optional<std::string> Resolve(int dirFd, const char* name) {
    struct stat st {};
    if (!Traits_.caseInsensitive) {
      if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
      return std::string(name);
    }
    const std::string wanted = Fold(name);
    std::optional<std::string> found;
    PosixSysCalls().ListNames(dirFd, [&](std::string_view entry) {
      if (!found && Fold(entry) == wanted) found = std::string(entry);
    });
    return found;
  }

  TVolumeTraits Traits_;
  // Names that are links made here, with their numbers (linkOwnNumber).
  std::map<std::string, std::uint64_t> OwnNumbers_;
  std::uint64_t LinksMade_ = 0;
};

}  // namespace vt::test
