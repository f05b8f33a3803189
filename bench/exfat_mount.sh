# Sourced by the exFAT scripts: mounts a fresh exFAT image of SIZE (128M)
# through FUSE on a loop device at $mnt, in a temporary $work that is removed
# on exit with the mount and the loop device. Skips the script (exit 0, with
# the reason) where the machine cannot: no root, no losetup, mkfs.exfat or
# mount.exfat-fuse (exfatprogs, exfat-fuse), no loop device or no FUSE.
#   exfat_mount SIZE
exfat_mount() {
  local tool
  for tool in losetup mkfs.exfat mount.exfat-fuse; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 0; }
  done
  [ "$(id -u)" = 0 ] || { echo "skipped: mounting needs root"; exit 0; }
  work=$(mktemp -d)
  image="$work/exfat.img"
  mnt="$work/mnt"
  loop=""
  trap exfat_unmount EXIT
  mkdir "$mnt"
  truncate -s "${1:-128M}" "$image"
  mkfs.exfat "$image" >/dev/null
  loop=$(losetup -f --show "$image") || { echo "skipped: no loop device"; exit 0; }
  mount.exfat-fuse "$loop" "$mnt" 2>/dev/null || { echo "skipped: cannot mount through FUSE"; exit 0; }
}

exfat_unmount() {
  mountpoint -q "$mnt" && umount "$mnt"
  [ -n "$loop" ] && losetup -d "$loop"
  rm -rf "$work"
}
