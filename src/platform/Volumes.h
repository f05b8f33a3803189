#pragma once
// Mounted volumes in the place of drive letters: their kinds (the system drive
// type codes), labels, network names and case flags.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/MountTable.h"

namespace vt {

// Ordinals are the drive type codes the rest of the program was built around.
enum class VolumeKind : std::uint8_t {
  Unknown = 0,
  NoRoot = 1,
  Removable = 2,
  Fixed = 3,
  Network = 4,
  CDROM = 5,
  RAM = 6
};

struct TVolume {
  std::string Root;  // the mount point
  VolumeKind Kind = VolumeKind::Unknown;
  TMountEntry Mount;
};

struct TCaseFlags {
  bool PreservesCase = true;
  bool CaseSensitive = true;
};

// Kind of one mount; Unknown for pseudo file systems and anything else that is no volume.
VolumeKind KindOfMount(const TMountEntry& mount);

// Volumes of kinds 2 to 6, in the order of their roots; of two mounts on one root the later one.
std::vector<TVolume> ListVolumes();

// Mount point of the mount that holds an absolute path (a volume or not); "/" when nothing matches.
std::string MountRootOf(std::string_view path);
// The volume that holds an absolute path; nullopt when the mount holding it is no volume.
std::optional<TVolume> VolumeOf(std::string_view path);

// Label from /dev/disk/by-label; empty when the volume has none.
std::string VolumeLabel(const TVolume& volume);
// What a network volume is connected to: //server/share, host:/export, ...
std::string NetworkName(const TVolume& volume);
TCaseFlags CaseFlagsOf(std::string_view fsType);
// Case flags of the mount that holds an absolute path.
TCaseFlags CaseFlagsOfPath(std::string_view path);

// What a rename needs to know of the volume on a device (st_dev); a device
// the mount table does not hold is taken for a local volume that keeps them.
struct TVolumeNature {
  // Its inode numbers stay with its files: not where the client makes them
  // up and may hand them out anew (FUSE volumes, SMB).
  bool KeepsInodeNumbers = true;
  // Each call asks a server, whose files other machines change too.
  bool Network = false;
  // A listing's d_ino is the file's st_ino (not on overlayfs, FUSE, FAT or a
  // network volume): the listing tells which file a name led to without a look.
  // Unknown devices are not taken for such a volume.
  bool ListsInodeNumbers = false;
};
TVolumeNature NatureOfDevice(std::uint64_t device);

// Which names a volume refuses beyond what Linux refuses everywhere ("/",
// NUL, more than 255 bytes): those of the volumes made for another system
// (FAT, exFAT, NTFS, SMB) refuse " * : < > ? \ |, control characters, a final
// dot or space and more than 255 UTF-16 units.
enum class TNameRules : std::uint8_t { Linux, Windows };
TNameRules NameRulesOf(std::string_view fsType);
// Of the mount of a device (st_dev); Linux for one the mount table does not hold.
TNameRules NameRulesOfDevice(std::uint64_t device);

// Reads /sys and /dev below prefix instead of "/" (tests build such a tree); "" for the system's.
void SetDeviceFilesRootForTesting(std::string prefix);

}  // namespace vt
