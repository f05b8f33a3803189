#!/usr/bin/env bash
# Case-only renames end to end on exFAT through FUSE, which gives each
# spelling of a name its own inode number: COUNT files renamed to upper case
# by veltrane-cli -x, then back by its recover, on a fresh image on a loop
# device. Prints the rows "Ok" of both; exit status 1 when one is missing.
# Needs root, losetup, mkfs.exfat and mount.exfat-fuse (exfatprogs,
# exfat-fuse); says so and exits 0 where the machine cannot mount.
#   bench/exfat_case.sh BUILD_FOLDER [COUNT]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
count=${2:-2000}
cli="$build/src/cli/veltrane-cli"
for tool in losetup mkfs.exfat mount.exfat-fuse; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 0; }
done
[ "$(id -u)" = 0 ] || { echo "skipped: mounting needs root"; exit 0; }
work=$(mktemp -d)
image="$work/exfat.img"
mnt="$work/mnt"
loop=""
cleanup() {
  mountpoint -q "$mnt" && umount "$mnt"
  [ -n "$loop" ] && losetup -d "$loop"
  rm -rf "$work"
}
trap cleanup EXIT
mkdir "$mnt"
truncate -s 128M "$image"
mkfs.exfat "$image" >/dev/null
loop=$(losetup -f --show "$image") || { echo "skipped: no loop device"; exit 0; }
mount.exfat-fuse "$loop" "$mnt" 2>/dev/null || { echo "skipped: cannot mount through FUSE"; exit 0; }
mkdir "$mnt/case"
for i in $(seq -f %04g "$count"); do : > "$mnt/case/file_$i.txt"; done
export XDG_STATE_HOME="$work/state"
"$cli" -x -f tsv --save "$work/pass.vtr" "$mnt/case" case upper > "$work/pass.tsv" || true
"$cli" -f tsv recover "$work/pass.vtr" > "$work/recover.tsv" || true
passOk=$(grep -c $'\tOk$' "$work/pass.tsv" || true)
recoverOk=$(grep -c $'\tOk$' "$work/recover.tsv" || true)
lower=$(find "$mnt/case" -name 'file_*.txt' | wc -l)
echo "exfat-fuse: pass $passOk of $count Ok, recover $recoverOk of $count Ok, $lower of $count back under their names"
[ "$passOk" = "$count" ] && [ "$recoverOk" = "$count" ] && [ "$lower" = "$count" ]
