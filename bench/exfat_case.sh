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
. "$(dirname "$0")/exfat_mount.sh"
exfat_mount 128M
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
