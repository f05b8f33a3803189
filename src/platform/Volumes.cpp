#include "platform/Volumes.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <map>

namespace vt {

namespace {

std::string& DeviceFilesRoot() {
  static std::string root;
  return root;
}

template <std::size_t N>
bool OneOf(std::string_view value, const std::array<std::string_view, N>& set) {
  return std::find(set.begin(), set.end(), value) != set.end();
}

// Kernel and desktop file systems that hold no files of the user, and read-only
// images (snaps, live systems) where nothing can be renamed.
constexpr std::array<std::string_view, 32> kPseudo = {"proc",
                                                      "sysfs",
                                                      "cgroup",
                                                      "cgroup2",
                                                      "devpts",
                                                      "devtmpfs",
                                                      "mqueue",
                                                      "debugfs",
                                                      "tracefs",
                                                      "securityfs",
                                                      "pstore",
                                                      "bpf",
                                                      "configfs",
                                                      "fusectl",
                                                      "hugetlbfs",
                                                      "autofs",
                                                      "binfmt_misc",
                                                      "nsfs",
                                                      "efivarfs",
                                                      "rpc_pipefs",
                                                      "selinuxfs",
                                                      "nfsd",
                                                      "fuse.gvfsd-fuse",
                                                      "fuse.portal",
                                                      "fuse.lxcfs",
                                                      "squashfs",
                                                      "erofs",
                                                      "fuse.snapfuse",
                                                      "fuse.xdg-document-portal",
                                                      "fuse.doc",
                                                      "apparmorfs",
                                                      "smackfs"};
constexpr std::array<std::string_view, 2> kCdrom = {"iso9660", "udf"};
constexpr std::array<std::string_view, 14> kNetwork = {"nfs",        "nfs4",        "cifs",        "smb3",     "smbfs",
                                                       "ceph",       "glusterfs",   "9p",          "afs",      "davfs",
                                                       "fuse.sshfs", "fuse.davfs2", "fuse.rclone", "fuse.s3fs"};
constexpr std::array<std::string_view, 2> kRam = {"tmpfs", "ramfs"};
// Disk file systems whose mounts report an anonymous device number.
constexpr std::array<std::string_view, 3> kPooledDisk = {"btrfs", "zfs", "bcachefs"};
// Local volumes whose readdir hands out the inode number lstat gives.
constexpr std::array<std::string_view, 8> kListedInodes = {"ext2", "ext3",  "ext4",  "tmpfs",
                                                           "xfs",  "btrfs", "ramfs", "f2fs"};
constexpr std::array<std::string_view, 4> kCaseBlind = {"vfat", "exfat", "cifs", "smb3"};

bool IsUnder(std::string_view path, std::string_view folder) {
  if (folder == "/") return !path.empty() && path[0] == '/';
  return path == folder ||
         (path.size() > folder.size() && path.substr(0, folder.size()) == folder && path[folder.size()] == '/');
}

// tmpfs under these folders is the system's own working space (runtime files,
// POSIX shared memory in /dev/shm), not a RAM disk of the user.
bool IsSystemRamMount(std::string_view root) {
  return IsUnder(root, "/run") || IsUnder(root, "/sys") || IsUnder(root, "/proc") || IsUnder(root, "/dev");
}

// The layers container engines stack for their containers: theirs, not the user's.
bool IsContainerLayer(const TMountEntry& mount) {
  return mount.FsType == "overlay" &&
         (IsUnder(mount.MountPoint, "/var/lib/docker") || IsUnder(mount.MountPoint, "/var/lib/containers") ||
          IsUnder(mount.MountPoint, "/var/snap/docker"));
}

std::string ReadFirstLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

std::optional<std::string> RealPath(const std::string& path) {
  char buffer[PATH_MAX];
  if (::realpath(path.c_str(), buffer) == nullptr) return std::nullopt;
  return std::string(buffer);
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

// The device numbers of a block device the mount names, for file systems that report an anonymous one.
std::pair<unsigned, unsigned> BlockDeviceOf(const TMountEntry& mount) {
  if (mount.Major != 0) return {mount.Major, mount.Minor};
  struct stat st {};
  if (mount.Source.rfind("/dev/", 0) == 0 && ::stat((DeviceFilesRoot() + mount.Source).c_str(), &st) == 0 &&
      S_ISBLK(st.st_mode))
    return {major(st.st_rdev), minor(st.st_rdev)};
  return {0, 0};
}

bool IsRemovableDevice(const TMountEntry& mount) {
  const auto [maj, min] = BlockDeviceOf(mount);
  if (maj == 0) return false;
  const auto device = RealPath(DeviceFilesRoot() + "/sys/dev/block/" + std::to_string(maj) + ":" + std::to_string(min));
  if (!device) return false;
  // A partition's removable flag lives with its disk, one folder up.
  const std::string disk = FileExists(*device + "/partition") ? device->substr(0, device->rfind('/')) : *device;
  return ReadFirstLine(disk + "/removable") == "1";
}

bool IsBlockDeviceVolume(const TMountEntry& mount) {
  return mount.Source.rfind("/dev/", 0) == 0 || OneOf(mount.FsType, kPooledDisk) || mount.FsType == "overlay";
}

// A file bind-mounted over a file (containers do this for /etc/hosts) is no volume to browse.
bool IsFileMount(const std::string& root) {
  struct stat st {};
  return ::stat(root.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

// udev writes blanks and other bytes of a label as \xNN.
std::string DecodeLabel(std::string_view name) {
  std::string out;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
        std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
        std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
      out += char(std::stoi(std::string(name.substr(i + 2, 2)), nullptr, 16));
      i += 3;
    } else {
      out += name[i];
    }
  }
  return out;
}

// Later mounts on the same point hide the earlier ones.
std::vector<TMountEntry> VisibleMounts() {
  std::map<std::string, TMountEntry> byRoot;
  for (auto& mount : ReadMountTable()) byRoot[mount.MountPoint] = std::move(mount);
  std::vector<TMountEntry> mounts;
  mounts.reserve(byRoot.size());
  for (auto& [root, mount] : byRoot) mounts.push_back(std::move(mount));
  return mounts;
}

const TMountEntry* HoldingMount(const std::vector<TMountEntry>& mounts, std::string_view path) {
  const TMountEntry* best = nullptr;
  for (const auto& mount : mounts)
    if (IsUnder(path, mount.MountPoint) && (!best || mount.MountPoint.size() > best->MountPoint.size())) best = &mount;
  return best;
}

std::optional<TVolume> AsVolume(const TMountEntry& mount) {
  const VolumeKind kind = KindOfMount(mount);
  if (kind == VolumeKind::Unknown) return std::nullopt;
  if ((kind == VolumeKind::Fixed || kind == VolumeKind::RAM) && IsFileMount(mount.MountPoint)) return std::nullopt;
  // A RAM disk is the user's when the user may write to it.
  if (kind == VolumeKind::RAM && ::access(mount.MountPoint.c_str(), W_OK) != 0) return std::nullopt;
  return TVolume{mount.MountPoint, kind, mount};
}

}  // namespace

VolumeKind KindOfMount(const TMountEntry& mount) {
  const std::string_view type = mount.FsType;
  if (OneOf(type, kPseudo) || IsContainerLayer(mount)) return VolumeKind::Unknown;
  if (OneOf(type, kCdrom)) return VolumeKind::CDROM;
  if (OneOf(type, kNetwork)) return VolumeKind::Network;
  if (OneOf(type, kRam)) return IsSystemRamMount(mount.MountPoint) ? VolumeKind::Unknown : VolumeKind::RAM;
  if (IsUnder(mount.MountPoint, "/media") || IsUnder(mount.MountPoint, "/run/media")) return VolumeKind::Removable;
  if (!IsBlockDeviceVolume(mount)) return VolumeKind::Unknown;
  return IsRemovableDevice(mount) ? VolumeKind::Removable : VolumeKind::Fixed;
}

std::vector<TVolume> ListVolumes() {
  std::vector<TVolume> volumes;
  for (const auto& mount : VisibleMounts())
    if (auto volume = AsVolume(mount)) volumes.push_back(std::move(*volume));
  return volumes;
}

std::string MountRootOf(std::string_view path) {
  const auto mounts = VisibleMounts();
  const TMountEntry* mount = HoldingMount(mounts, path);
  return mount ? mount->MountPoint : std::string("/");
}

std::optional<TVolume> VolumeOf(std::string_view path) {
  const auto mounts = VisibleMounts();
  const TMountEntry* mount = HoldingMount(mounts, path);
  if (!mount) return std::nullopt;
  return AsVolume(*mount);
}

std::string VolumeLabel(const TVolume& volume) {
  const std::string folder = DeviceFilesRoot() + "/dev/disk/by-label";
  const auto source =
      volume.Mount.Source.rfind('/', 0) == 0 ? RealPath(DeviceFilesRoot() + volume.Mount.Source) : std::nullopt;
  const auto [maj, min] = BlockDeviceOf(volume.Mount);
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return {};
  std::string label;
  while (const dirent* entry = ::readdir(dir)) {  // NOLINT(concurrency-mt-unsafe): each stream is read by one thread
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    std::string link = folder;
    link += '/';
    link += name;
    struct stat st {};
    const bool sameDevice = maj != 0 && ::stat(link.c_str(), &st) == 0 && S_ISBLK(st.st_mode) &&
                            major(st.st_rdev) == maj && minor(st.st_rdev) == min;
    const auto target = RealPath(link);
    if (sameDevice || (source && target && *source == *target)) {
      label = DecodeLabel(name);
      break;
    }
  }
  ::closedir(dir);
  return label;
}

std::string NetworkName(const TVolume& volume) { return volume.Mount.Source; }

TCaseFlags CaseFlagsOf(std::string_view fsType) {
  if (OneOf(fsType, kCaseBlind)) return {true, false};
  return {true, true};
}

TCaseFlags CaseFlagsOfPath(std::string_view path) {
  const auto mounts = VisibleMounts();
  const TMountEntry* mount = HoldingMount(mounts, path);
  return mount ? CaseFlagsOf(mount->FsType) : TCaseFlags{};
}

TVolumeNature NatureOfDevice(std::uint64_t device) {
  const auto mounts = ReadMountTable();
  const auto mount = std::find_if(mounts.rbegin(), mounts.rend(), [&](const TMountEntry& entry) {
    return entry.Major == major(device) && entry.Minor == minor(device);
  });
  if (mount == mounts.rend()) return {};
  const std::string_view type = mount->FsType;
  return {!(type == "fuse" || type == "fuseblk" || type.starts_with("fuse.") || type == "cifs" || type == "smb3"),
          OneOf(type, kNetwork), OneOf(type, kListedInodes)};
}

TNameRules NameRulesOf(std::string_view fsType) {
  // exFAT and NTFS through FUSE (exfat-fuse, ntfs-3g) say "fuseblk"; other FUSE volumes say what they are.
  constexpr std::string_view kWindows[] = {"vfat",       "msdos", "exfat", "ntfs",         "ntfs3", "fuseblk",
                                           "fuse.exfat", "cifs",  "smb3",  "fuse.ntfs-3g", "fat"};
  return std::find(std::begin(kWindows), std::end(kWindows), fsType) != std::end(kWindows) ? TNameRules::Windows
                                                                                           : TNameRules::Linux;
}

TNameRules NameRulesOfDevice(std::uint64_t device) {
  const auto mounts = ReadMountTable();
  const auto mount = std::find_if(mounts.rbegin(), mounts.rend(), [&](const TMountEntry& entry) {
    return entry.Major == major(device) && entry.Minor == minor(device);
  });
  return mount == mounts.rend() ? TNameRules::Linux : NameRulesOf(mount->FsType);
}

void SetDeviceFilesRootForTesting(std::string prefix) { DeviceFilesRoot() = std::move(prefix); }

}  // namespace vt
