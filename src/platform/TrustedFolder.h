#pragma once
// Whether a folder is the user's alone: it and every folder above it up to the
// user's home belong to the user (or root) and nobody else may write to them,
// unless a folder is sticky. Records kept in a folder others can change could
// be swapped for links or planted, and would then be believed.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace vt {

enum class TFolderFault {
  OthersCanWrite,  // group or others may write to it and it is not sticky
  OwnedByOther,    // neither the user nor root owns it
  CannotCheck,     // it could not be looked at (Error holds why)
};

struct TUntrustedFolder {
  std::string Path;  // the folder at fault, ending with "/"
  TFolderFault Fault = TFolderFault::CannotCheck;
  std::uint32_t Owner = 0;
  int Error = 0;
};

struct TFolderUser {
  std::uint32_t Uid = 0;
  std::string Home;  // the check stops there; every folder up to "/" is checked when the folder lies elsewhere
};

std::uint32_t EffectiveUid();
// The effective user and the home the user database gives it.
TFolderUser CurrentFolderUser();

// Nothing when folder can be trusted; for a folder not made yet, the nearest
// folder above it that exists is judged. Both the folders the path names (links
// followed) and the real folders above the one it leads to are looked at.
std::optional<TUntrustedFolder> UntrustedFolder(const std::string& folder, const TFolderUser& user);

// Whether name in folder is a regular file of uid's, looked at through the
// folder's handle without following a link.
bool IsOwnFile(const std::string& folder, const std::string& name, std::uint32_t uid);

// Reads such a file, or its first maxBytes, through the handle it was opened
// with: what is read is what was looked at. 0 or the errno; EPERM for a file
// that is not uid's own regular file, ELOOP for a link.
int ReadOwnFile(const std::string& folder, const std::string& name, std::uint32_t uid, std::size_t maxBytes,
                std::string& bytes);

// Opens such a file to be read a piece at a time, with the same checks: file
// and its size then, else the errno.
int OpenOwnFile(const std::string& folder, const std::string& name, std::uint32_t uid, std::FILE*& file,
                std::uint64_t& size);

}  // namespace vt
