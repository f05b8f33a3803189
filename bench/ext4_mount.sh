# Sourced by the benchmarks that time ext4: a 1 GiB ext4 image in $work with
# room for 300,000 files, mounted on a loop device at $mnt (the caller unmounts
# it on exit). Fails, and the caller goes on without ext4, where the machine
# cannot: no root, or no mkfs.ext4.
#   ext4_mount && ...
ext4_mount() {
  [ "$(id -u)" = 0 ] && command -v mkfs.ext4 >/dev/null || return 1
  truncate -s 1G "$work/ext4.img"
  mkfs.ext4 -q -F -N 300000 "$work/ext4.img"
  mnt=$work/mnt
  mkdir -p "$mnt"
  mount -o loop "$work/ext4.img" "$mnt"
}
