#!/usr/bin/env bash
# How often a real pass looks at each file. On a volume whose listing gives
# each file's inode number (ext4, tmpfs, xfs, btrfs), the journal records that
# number and the rename looks once before its move and once after: with the
# move itself, 3 system calls per file. Shown on tmpfs:
#   1. system calls per file of veltrane-cli -x (strace -f -c), 20,000 files;
#   2. CPU and wall time against the checked loop (bench_bare_rename --checked:
#      the look before and the check after every rename, no listing lstat),
#      100,000 files, runs alternating so that each renames the names back;
#      medians. Target: at most 1.1 x the checked loop.
# VELTRANE_BENCH_BASELINE=PATH names another veltrane-cli (an earlier build,
# copied out of its tree), counted and timed in the same rounds.
#   bench/bench_looks.sh BUILD_FOLDER
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
for tool in strace /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing $tool (make deps-bench)" >&2; exit 1; }
done

work=$(mktemp -d)
shm=/dev/shm/veltrane-looks-bench-$$
trap 'rm -rf "$work" "$shm"' EXIT
export XDG_STATE_HOME=$work/state
fill() { rm -rf "$1" && mkdir -p "$1" && (cd "$1" && seq -f 'file_%06g.txt' 1 "$2" | xargs touch); }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

# program label: calls per file of one pass, and the calls that make them up.
calls() {
  local n=20000
  fill "$shm" "$n"
  strace -f -c -o "$work/strace" "$1" -x "$shm" replace file item >/dev/null 2>&1 || true
  local renamed total
  renamed=$(find "$shm" -name 'item_*' | wc -l)
  total=$(awk '$NF == "total" { print $(NF - 2) }' "$work/strace")
  echo "$2: $renamed of $n renamed, $(ratio "$total" "$n") system calls per file" \
    "($(awk 'NR > 2 && $1 !~ /^-/ && $NF != "total" && $4 > 1000 { printf "%s %s ", $NF, $4 }' "$work/strace"))"
}

# One timed run: prints "cpu wall".
timed() {
  /usr/bin/time -f '%U %S %e' -o "$work/time" "$@" >/dev/null 2>&1 || true
  awk '{ printf "%.3f %.3f\n", $1 + $2, $3 }' "$work/time"
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
calls "$cli" "this build"
[ -z "$baseline" ] || calls "$baseline" "baseline"

fill "$shm" "$files"
cli_cpu=() cli_wall=() chk_cpu=() chk_wall=() base_cpu=() base_wall=()
for _ in $(seq 1 "$runs"); do
  read -r c w < <(timed "$cli" -x "$shm" replace file item)
  cli_cpu+=("$c") cli_wall+=("$w")
  read -r c w < <(timed "$bare" "$shm" item file --checked)
  chk_cpu+=("$c") chk_wall+=("$w")
  if [ -n "$baseline" ]; then
    read -r c w < <(timed "$baseline" -x "$shm" replace file item)
    base_cpu+=("$c") base_wall+=("$w")
    "$bare" "$shm" item file >/dev/null 2>&1
  fi
done
cc=$(printf '%s\n' "${cli_cpu[@]}" | median) cw=$(printf '%s\n' "${cli_wall[@]}" | median)
kc=$(printf '%s\n' "${chk_cpu[@]}" | median) kw=$(printf '%s\n' "${chk_wall[@]}" | median)
echo "tmpfs, $files files, -x: cpu ${cc}s = $(ratio "$cc" "$kc")x checked (${kc}s);" \
  "wall ${cw}s = $(ratio "$cw" "$kw")x checked (${kw}s)"
if [ -n "$baseline" ]; then
  zc=$(printf '%s\n' "${base_cpu[@]}" | median) zw=$(printf '%s\n' "${base_wall[@]}" | median)
  echo "  baseline: cpu ${zc}s = $(ratio "$zc" "$kc")x checked; wall ${zw}s = $(ratio "$zw" "$kw")x checked;" \
    "this build against it: cpu $(ratio "$cc" "$zc")x, wall $(ratio "$cw" "$zw")x"
fi
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
