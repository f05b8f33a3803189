#!/usr/bin/env bash
# What the look for new names the volume refuses costs a real pass on a volume
# with Linux's rules (tmpfs), where only a name over 255 bytes is refused:
#   bounded   Number with a base name over 100,000 files: the settings can
#             lengthen names, so the folder is listed to find its longest name,
#             and none can pass 255 bytes: no file is judged
#   unbounded the same pass with one 250-byte name in the folder (outside the
#             masks): every file is judged once before the pass
# Each run renames the folder one way or back (file_N <-> photo_N); the command
# (A) and BASELINE_CLI (B, an older veltrane-cli that never looks on such a
# volume) run in turn, A B A B ..., each on a folder of its own, and the ratio
# A/B is taken pair by pair. The yardstick for "unbounded" is one judging pass:
# a simulation of the same pass by the baseline, timed in the same run.
# Targets: bounded A/B at most 1.02 (medians); unbounded A - B at most one simulation.
#   bench/bench_refusal_look.sh BUILD_FOLDER BASELINE_CLI
# VELTRANE_BENCH_FILES (100000) and VELTRANE_BENCH_RUNS (11) change the sizes.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
baseline=${2:-}
files=${VELTRANE_BENCH_FILES:-100000}
runs=${VELTRANE_BENCH_RUNS:-11}
cli=$build/src/cli/veltrane-cli
[ -x "$cli" ] || { echo "missing $cli: build the target veltrane-cli" >&2; exit 1; }
# Only a comparison says anything here; bench/run gives no baseline.
[ -n "$baseline" ] || { echo "skipped: give BASELINE_CLI, an older veltrane-cli, to compare with" >&2; exit 0; }
command -v /usr/bin/time >/dev/null || { echo "missing /usr/bin/time (make deps-bench installs it)" >&2; exit 1; }

work=$(mktemp -d /dev/shm/veltrane-refusal-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
export XDG_STATE_HOME=$work/state  # the runs' records stay out of the user's own

fresh() {  # folder [long]
  rm -rf "$1" && mkdir -p "$1" && (cd "$1" && seq -f 'file_%06g.txt' 1 "$files" | xargs touch)
  if [ -n "${2:-}" ]; then touch "$1/$(printf 'z%.0s' $(seq 246)).txt"; fi
}

# One run: renames the folder's files to the other base name; "cpu wall" seconds.
toggle() {  # program folder
  local base=photo_
  [ -e "$2/file_000001.txt" ] || base=file_
  /usr/bin/time -f '%U %S %e' -o "$work/time" \
    "$1" -x -m 'file_*;photo_*' "$2" number --base "$base" --start 000001 >/dev/null 2>"$work/err" ||
    { cat "$work/err" >&2; exit 1; }
  awk '{ print $1 + $2, $3 }' "$work/time"
}

simulate() {  # program folder
  /usr/bin/time -f '%U %S %e' -o "$work/time" \
    "$1" -m 'file_*;photo_*' "$2" number --base photo_ --start 000001 >/dev/null 2>"$work/err"
  awk '{ print $1 + $2, $3 }' "$work/time"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

compare() {  # label long
  local label=$1 long=$2 pairs=$work/$1.pairs
  fresh "$work/a" "$long"
  fresh "$work/b" "$long"
  : >"$pairs"
  toggle "$cli" "$work/a" >/dev/null && toggle "$baseline" "$work/b" >/dev/null  # warm-up
  for _ in $(seq "$runs"); do
    read -r acpu awall < <(toggle "$cli" "$work/a")
    read -r bcpu bwall < <(toggle "$baseline" "$work/b")
    read -r scpu swall < <(simulate "$baseline" "$work/b")
    echo "$acpu $awall $bcpu $bwall $scpu $swall" >>"$pairs"
  done
  printf '%s, %s files: A/B wall %.3f, cpu %.3f; A %.3f s, B %.3f s, simulation %.3f s (wall medians)\n' \
    "$label" "$files" \
    "$(awk '{ print $2 / $4 }' "$pairs" | median)" "$(awk '$3 > 0 { print $1 / $3 }' "$pairs" | median)" \
    "$(awk '{ print $2 }' "$pairs" | median)" "$(awk '{ print $4 }' "$pairs" | median)" \
    "$(awk '{ print $6 }' "$pairs" | median)"
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores; $runs pairs"
compare bounded ""
compare unbounded long
