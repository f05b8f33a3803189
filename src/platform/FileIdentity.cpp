#include "platform/FileIdentity.h"

#include "platform/Volumes.h"

namespace vt {

TFileIdentity IdentityOf(const TEntryInfo& info) {
  return {info.Id.Device, info.Id.Inode, info.Size, info.MtimeNs, info.Mode};
}

TFileIdentity ListedIdentity(const TEntryId& id) { return {id.Device, id.Inode, 0, 0, 0}; }

// A number means the file only on the device it was given on: after a
// remount the attributes are all there is to go by, and a file recorded
// without them is not recognised there.
bool IsRecordedFile(const TEntryInfo& now, const TFileIdentity& was, TIdentityRule rule) {
  if (!now.Regular) return false;
  if (rule == TIdentityRule::ByInode && now.Id.Device == was.Device) return now.Id.Inode == was.Inode;
  return HasAttributes(was) && now.Size == was.Size && now.MtimeNs == was.MtimeNs && now.Mode == was.Mode;
}

TIdentityRule TIdentityRules::Of(std::uint64_t device) {
  const auto [it, added] = Rules_.try_emplace(device, TIdentityRule::ByInode);
  if (added && !NatureOfDevice(device).KeepsInodeNumbers) it->second = TIdentityRule::ByAttributes;
  return it->second;
}

}  // namespace vt
