#pragma once
// A file as a look found it just before a rename moved it: what a reader
// after a kill goes by to tell whether the rename happened, rather than by
// which names exist. On a volume whose inode numbers stay with their files
// the number decides; where the client makes them up (FUSE, SMB: exFAT over
// FUSE even gives each spelling of a name its own) what the volume keeps
// decides instead: size, modification time and mode.
#include <cstdint>
#include <unordered_map>

#include "platform/SysCalls.h"

namespace vt {

struct TFileIdentity {
  std::uint64_t Device = 0;
  std::uint64_t Inode = 0;
  std::uint64_t Size = 0;
  std::int64_t MtimeNs = 0;
  std::uint32_t Mode = 0;
  bool operator==(const TFileIdentity&) const = default;
};

TFileIdentity IdentityOf(const TEntryInfo& info);
// A file known by its number alone, as a listing gives it: no attributes
// (Mode 0, which no file has), so only its own device's numbers tell it.
TFileIdentity ListedIdentity(const TEntryId& id);
inline bool HasAttributes(const TFileIdentity& file) { return file.Mode != 0; }

enum class TIdentityRule : std::uint8_t { ByInode, ByAttributes };

// Whether now (a look at a name) is the file recorded as was.
bool IsRecordedFile(const TEntryInfo& now, const TFileIdentity& was, TIdentityRule rule);

// The rule of each device, asked of the mount table once per device.
class TIdentityRules {
 public:
  TIdentityRule Of(std::uint64_t device);

 private:
  std::unordered_map<std::uint64_t, TIdentityRule> Rules_;
};

}  // namespace vt
