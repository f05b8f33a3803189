#!/usr/bin/env bash
# What --sync costs. A Search/Replace over a folder of many files, the command
# line with and without --sync and the bare loop (readdir + lstat + renameat2),
# run in turn on one folder (each run renames the names back), idle and beside
# one busy process per core:
#   tmpfs         the files in memory, the journal in the state folder on the
#                 disk of /tmp (as a user's home would be)
#   ext4 (loop)   files and journal on a loop-mounted ext4 image (needs root;
#                 skipped otherwise)
# With --sync every block of intents is on disk before its first rename; the
# writes go out on the journal's own thread while the block before is renamed.
# Target: -x --sync at most 1.6 x -x on tmpfs and at most 1.2 x on ext4 (wall
# clock, median of the per-round ratios). VELTRANE_BENCH_BASELINE_CLI=PROGRAM
# times an earlier build's command line in the same rounds, for its own ratio.
#   bench/bench_sync.sh BUILD_FOLDER
# VELTRANE_BENCH_FILES (100,000), VELTRANE_BENCH_RUNS (7) and
# VELTRANE_BENCH_BUSY=0 (no busy part) change what is run.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
files=${VELTRANE_BENCH_FILES:-100000}
runs=${VELTRANE_BENCH_RUNS:-7}
busy_part=${VELTRANE_BENCH_BUSY:-1}
baseline=${VELTRANE_BENCH_BASELINE_CLI:-}
cli=$build/src/cli/veltrane-cli
bare=$build/bench/bench_bare_rename
for program in "$cli" "$bare" ${baseline:+"$baseline"}; do
  [ -x "$program" ] || { echo "missing $program: build veltrane-cli and bench_bare_rename" >&2; exit 1; }
done
command -v /usr/bin/time >/dev/null || { echo "missing /usr/bin/time (make deps-bench)" >&2; exit 1; }

work=$(mktemp -d)
mnt=""
shm=/dev/shm/veltrane-sync-bench-$$
busy_pids=()
stop_busy() {
  for pid in "${busy_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${busy_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  busy_pids=()
}
cleanup() {
  stop_busy
  [ -n "$mnt" ] && umount "$mnt" 2>/dev/null || true
  rm -rf "$work" "$shm"
}
trap cleanup EXIT
# shellcheck source=ext4_mount.sh
. "$(dirname "$0")/ext4_mount.sh"

fill() { mkdir -p "$1" && (cd "$1" && seq -f 'file_%06g.txt' 1 "$2" | xargs touch); }
median() { sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# The names go back and forth: each run renames them the other way.
from=file to=item
# label command...: one timed run, its wall seconds in $took; a failure ends the benchmark.
timed() {
  local label=$1
  shift
  /usr/bin/time -f '%e' -o "$work/time" "$@" >/dev/null 2>"$work/err" ||
    { echo "$label failed: $(head -c 300 "$work/err")" >&2; exit 1; }
  local swap=$from
  from=$to to=$swap
  took=$(cat "$work/time")
}

# label dir: the commands in turn, runs rounds; medians and ratios.
compare() {
  local label=$1 dir=$2
  local plain=() synced=() loop=() base_plain=() base_synced=() per_round=() base_round=()
  for _ in $(seq 1 "$runs"); do
    local p
    timed plain "$cli" -x "$dir" replace "$from" "$to"
    p=$took
    timed sync "$cli" -x --sync "$dir" replace "$from" "$to"
    plain+=("$p") synced+=("$took") per_round+=("$(ratio "$took" "$p")")
    timed bare "$bare" "$dir" "$from" "$to"
    loop+=("$took")
    if [ -n "$baseline" ]; then
      timed baseline "$baseline" -x "$dir" replace "$from" "$to"
      p=$took
      timed "baseline sync" "$baseline" -x --sync "$dir" replace "$from" "$to"
      base_plain+=("$p") base_synced+=("$took") base_round+=("$(ratio "$took" "$p")")
    fi
  done
  # The files are under the names the last run gave: a run that renamed nothing shows here.
  [ "$(find "$dir" -maxdepth 1 -name "${from}_*" | wc -l)" -eq "$files" ] ||
    { echo "$label: a run left files unrenamed" >&2; exit 1; }
  # The names are left as they were found for the next comparison.
  [ "$from" = file ] || "$bare" "$dir" item file >/dev/null 2>&1
  from=file to=item
  local mp ms mb
  mp=$(printf '%s\n' "${plain[@]}" | median) ms=$(printf '%s\n' "${synced[@]}" | median)
  mb=$(printf '%s\n' "${loop[@]}" | median)
  echo "$label: wall -x ${mp}s, -x --sync ${ms}s, bare ${mb}s;" \
    "--sync = $(printf '%s\n' "${per_round[@]}" | median) x -x (median of rounds, min $(printf '%s\n' "${per_round[@]}" | sort -g | head -1)," \
    "max $(printf '%s\n' "${per_round[@]}" | sort -g | tail -1)); $(ratio "$mp" "$mb") x and $(ratio "$ms" "$mb") x bare"
  if [ -n "$baseline" ]; then
    local bp bs
    bp=$(printf '%s\n' "${base_plain[@]}" | median) bs=$(printf '%s\n' "${base_synced[@]}" | median)
    echo "  baseline: wall -x ${bp}s, -x --sync ${bs}s; --sync = $(printf '%s\n' "${base_round[@]}" | median) x -x;" \
      "$(ratio "$bp" "$mb") x and $(ratio "$bs" "$mb") x bare"
  fi
}

volumes() {  # what: idle or busy
  local what=$1
  export XDG_STATE_HOME=$work/state
  compare "tmpfs, $files files, $what" "$shm"
  if [ -n "$mnt" ]; then
    export XDG_STATE_HOME=$mnt/state
    compare "ext4 (loop), $files files, $what" "$mnt/files"
  fi
}

fill "$shm" "$files"
if ext4_mount; then
  fill "$mnt/files" "$files"
  sync
else
  echo "ext4: skipped (needs root and mkfs.ext4 for a loop-mounted image)"
fi

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
volumes idle
if [ "$busy_part" != 0 ]; then
  for ((c = 0; c < $(nproc); c++)); do
    (while :; do :; done) &
    busy_pids+=($!)
  done
  echo "load with ${#busy_pids[@]} busy processes: $(cut -d' ' -f1-3 /proc/loadavg)"
  volumes busy
  stop_busy
fi
echo "targets: --sync at most 1.6 x -x on tmpfs, at most 1.2 x on ext4"
