#!/usr/bin/env bash
# Kills on exFAT through FUSE, which ignores case and gives each spelling of a
# name its own inode number: KILL_TRIALS times (20), `veltrane-cli -x ... case
# upper` over COUNT files (2,000, each holding its own name) is killed with
# SIGKILL at a random moment, then `recover --last` runs. After each: files
# left renamed (upper case), files under a temporary name (.vt-*.tmp), empty
# placeholders, and files whose contents are not their name; all must be 0.
# Needs root, losetup, mkfs.exfat and mount.exfat-fuse (exfatprogs,
# exfat-fuse); says so and exits 0 where the machine cannot mount.
#   bench/stress_undo_exfat.sh BUILD_FOLDER
# VELTRANE_STRESS_FILES (2,000) and KILL_TRIALS (20) change the sizes.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
count=${VELTRANE_STRESS_FILES:-2000}
trials=${KILL_TRIALS:-20}
cli="$build/src/cli/veltrane-cli"
[ -x "$cli" ] || { echo "missing $cli: build the target veltrane-cli" >&2; exit 1; }
. "$(dirname "$0")/exfat_mount.sh"
exfat_mount 128M
export XDG_STATE_HOME="$work/state"
dir="$mnt/case"

fresh() {
  rm -rf "$dir" "$XDG_STATE_HOME" && mkdir -p "$dir"
  for i in $(seq -f %04g "$count"); do echo "file_$i.txt" >"$dir/file_$i.txt"; done
}

fresh
start=$(date +%s%N)
"$cli" -x "$dir" case upper >/dev/null 2>&1 || true
pass_us=$(( ($(date +%s%N) - start) / 1000 ))
echo "a whole pass of $count files: $((pass_us / 1000)) ms"

failures=0
total_renamed=0
for trial in $(seq 1 "$trials"); do
  fresh
  delay_us=$(( (RANDOM * 32768 + RANDOM) % (pass_us + 1) ))
  "$cli" -x "$dir" case upper >/dev/null 2>&1 &
  pid=$!
  sleep "$(printf '%d.%06d' $((delay_us / 1000000)) $((delay_us % 1000000)))"
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  renamed=$(find "$dir" -name 'FILE_*' | wc -l)
  total_renamed=$((total_renamed + renamed))
  "$cli" recover --last -f tsv >"$work/recover.out" 2>"$work/recover.err" || true
  upper=$(find "$dir" -name 'FILE_*' | wc -l)
  temps=$(find "$dir" -name '.vt-*.tmp' | wc -l)
  empty=$(find "$dir" -type f -empty | wc -l)
  wrong=0
  for f in "$dir"/* "$dir"/.vt-*.tmp; do
    [ -f "$f" ] || continue
    content=""
    read -r content <"$f" || true
    [ "$content" = "${f##*/}" ] || wrong=$((wrong + 1))
  done
  verdict=ok
  if [ "$upper" -ne 0 ] || [ "$temps" -ne 0 ] || [ "$empty" -ne 0 ] || [ "$wrong" -ne 0 ]; then
    verdict=FAILED
    failures=$((failures + 1))
  fi
  echo "trial $trial: killed after ${delay_us} us, $renamed renamed; after recover --last: left renamed $upper," \
    "under a temporary name $temps, empty placeholders $empty, wrong contents $wrong: $verdict"
done
echo "$trials kills, $total_renamed files renamed when killed, failures: $failures"
[ "$failures" -eq 0 ]
