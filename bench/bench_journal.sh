#!/usr/bin/env bash
# What the journal costs. A Search/Replace over a folder of 100,000 files, the
# command line (its journal, kept as the pass's record) against the bare loop
# (readdir + lstat + renameat2), runs alternating on one folder (each run renames
# the names back), medians of CPU time (user + system) and wall-clock time:
#   tmpfs         veltrane-cli -x, and veltrane-cli -x --no-save (journal, no record)
#   ext4 (loop)   the same with and without --sync (needs root for the loop mount;
#                 skipped otherwise), fdatasync after every block
# then the peak memory of the command line at 10,000 and 100,000 files, and the
# bytes and files one pass of that many files leaves in the records' folder.
# VELTRANE_BENCH_BASELINE=PATH names another veltrane-cli (an earlier build,
# copied out of its tree): it is timed in the same rounds on tmpfs, each round
# alternating between the programs, and its records' folder measured beside.
# Target: veltrane-cli -x at most 1.15 x the bare loop on tmpfs. The checked loop
# (bench_bare_rename --checked: the look before and the check after every rename
# that the program must make, and no listing lstat) is timed in the same rounds,
# and each pass is given against both loops: against the checked loop it shows
# what the program costs apart from the system calls its checks need.
#   bench/bench_journal.sh BUILD_FOLDER
# VELTRANE_BENCH_FILES (100,000) and VELTRANE_BENCH_RUNS (9) change the sizes.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
files=${VELTRANE_BENCH_FILES:-100000}
runs=${VELTRANE_BENCH_RUNS:-9}
cli=$build/src/cli/veltrane-cli
bare=$build/bench/bench_bare_rename
baseline=${VELTRANE_BENCH_BASELINE:-}
for program in "$cli" "$bare" ${baseline:+"$baseline"}; do
  [ -x "$program" ] || { echo "missing $program: build veltrane-cli and bench_bare_rename" >&2; exit 1; }
done
command -v /usr/bin/time >/dev/null || { echo "missing /usr/bin/time (make deps-bench)" >&2; exit 1; }

work=$(mktemp -d)
mnt=""
cleanup() {
  [ -n "$mnt" ] && umount "$mnt" 2>/dev/null || true
  rm -rf "$work" /dev/shm/veltrane-journal-bench-$$
}
trap cleanup EXIT
# shellcheck source=ext4_mount.sh
. "$(dirname "$0")/ext4_mount.sh"

fill() { mkdir -p "$1" && (cd "$1" && seq -f 'file_%06g.txt' 1 "$2" | xargs touch); }

# One timed run: prints "cpu wall peak-kB".
timed() {
  /usr/bin/time -f '%U %S %e %M' -o "$work/time" "$@" >/dev/null 2>"$work/err" || true
  awk '{ printf "%.3f %.3f %d\n", $1 + $2, $3, $4 }' "$work/time"
}
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# label dir cli-options...: in turn with the bare loop and the checked loop (and
# the baseline program, when given), the names going back and forth.
compare() {
  local label=$1 dir=$2
  shift 2
  local cli_cpu=() cli_wall=() bare_cpu=() bare_wall=() checked_cpu=() checked_wall=() base_cpu=() base_wall=()
  local from=file to=item swap
  flip() { swap=$from from=$to to=$swap; }
  for _ in $(seq 1 "$runs"); do
    read -r c w _ < <(timed "$cli" -x "$@" "$dir" replace "$from" "$to")
    cli_cpu+=("$c") cli_wall+=("$w")
    flip
    read -r c w _ < <(timed "$bare" "$dir" "$from" "$to")
    bare_cpu+=("$c") bare_wall+=("$w")
    flip
    read -r c w _ < <(timed "$bare" "$dir" "$from" "$to" --checked)
    checked_cpu+=("$c") checked_wall+=("$w")
    flip
    if [ -n "$baseline" ]; then
      read -r c w _ < <(timed "$baseline" -x "$@" "$dir" replace "$from" "$to")
      base_cpu+=("$c") base_wall+=("$w")
      flip
    fi
  done
  # The names are left as they were found for the next comparison.
  [ "$from" = file ] || "$bare" "$dir" item file 2>/dev/null
  local cc bc kc cw bw kw
  cc=$(printf '%s\n' "${cli_cpu[@]}" | median) bc=$(printf '%s\n' "${bare_cpu[@]}" | median)
  kc=$(printf '%s\n' "${checked_cpu[@]}" | median)
  cw=$(printf '%s\n' "${cli_wall[@]}" | median) bw=$(printf '%s\n' "${bare_wall[@]}" | median)
  kw=$(printf '%s\n' "${checked_wall[@]}" | median)
  echo "$label: cpu cli ${cc}s bare ${bc}s checked ${kc}s = $(ratio "$cc" "$bc")x bare, $(ratio "$cc" "$kc")x checked;" \
    "wall cli ${cw}s bare ${bw}s checked ${kw}s = $(ratio "$cw" "$bw")x bare, $(ratio "$cw" "$kw")x checked" \
    "(checked loop $(ratio "$kc" "$bc")x bare cpu)"
  if [ -n "$baseline" ]; then
    local zc zw
    zc=$(printf '%s\n' "${base_cpu[@]}" | median) zw=$(printf '%s\n' "${base_wall[@]}" | median)
    echo "  baseline $baseline: cpu ${zc}s = $(ratio "$zc" "$kc")x checked; wall ${zw}s = $(ratio "$zw" "$kw")x checked;" \
      "this build against it: cpu $(ratio "$cc" "$zc")x, wall $(ratio "$cw" "$zw")x"
  fi
}

# program label: one pass over a fresh folder into an empty records' folder,
# and what that folder holds afterwards.
records_left() {
  local dir=$work/records-files state=$work/records-state
  rm -rf "$dir" "$state"
  fill "$dir" "$files"
  XDG_STATE_HOME=$state "$1" -x "$dir" replace file item >/dev/null 2>&1 || true
  echo "records' folder after one pass of $files files, $2: $(du -sb "$state/veltrane" | cut -f1) bytes in" \
    "$(find "$state/veltrane" -type f | wc -l) files ($(cd "$state/veltrane" && ls | tr '\n' ' '))"
  rm -rf "$dir" "$state"
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
export XDG_STATE_HOME=$work/state
shm=/dev/shm/veltrane-journal-bench-$$
fill "$shm" "$files"
echo "bare: readdir + lstat + renameat2; checked: what our renames must do (lstat, renameat2, lstat; no listing lstat)"
compare "tmpfs, $files files, -x (journal kept as the record)" "$shm"
compare "tmpfs, $files files, -x --no-save (journal only)" "$shm" --no-save
compare "tmpfs, $files files, -x --sync" "$shm" --sync

if ext4_mount; then
  export XDG_STATE_HOME=$mnt/state
  fill "$mnt/files" "$files"
  sync
  compare "ext4 (loop), $files files, -x" "$mnt/files"
  compare "ext4 (loop), $files files, -x --sync" "$mnt/files" --sync
  export XDG_STATE_HOME=$work/state
else
  echo "ext4: skipped (needs root and mkfs.ext4 for a loop-mounted image)"
fi

for n in 10000 "$files"; do
  dir=$work/mem-$n
  fill "$dir" "$n"
  read -r _ _ peak < <(timed "$cli" -x "$dir" replace file item)
  echo "peak memory, $n files: ${peak} kB = $(awk -v k="$peak" -v n="$n" 'BEGIN { printf "%.0f", k * 1024 / n }') bytes per file"
done
records_left "$cli" "this build"
[ -z "$baseline" ] || records_left "$baseline" "baseline"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
