#!/usr/bin/env bash
# `veltrane-cli history` over 50 kept passes of 100,000 rows each: it reads
# each journal's header and end only, so it answers in under 200 ms however
# many rows the passes had. Beside it, for scale, what reading every journal
# whole takes (`show` of each).
#   bench/bench_history.sh BUILD_FOLDER
# VELTRANE_HISTORY_FILES (100,000) and VELTRANE_HISTORY_PASSES (50) change the sizes.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
files=${VELTRANE_HISTORY_FILES:-100000}
passes=${VELTRANE_HISTORY_PASSES:-50}
cli=$build/src/cli/veltrane-cli
[ -x "$cli" ] || { echo "missing $cli: build the target veltrane-cli" >&2; exit 1; }

base=/dev/shm
[ -d "$base" ] || base=${TMPDIR:-/tmp}
work=$(mktemp -d "$base/veltrane-history-XXXXXX")
trap 'rm -rf "$work"' EXIT
export XDG_STATE_HOME=$work/state
records=$XDG_STATE_HOME/veltrane
dir=$work/files
mkdir -p "$dir" && (cd "$dir" && seq -f 'file_%06g.txt' 1 "$files" | xargs touch)

# One real pass, its journal copied under the names of passes after it: each
# copy is a whole journal of that many rows. The newest is then undone, so
# that one entry is read from behind a recover's mark.
"$cli" -x "$dir" replace file item >/dev/null 2>&1
journal=$(ls "$records"/*.vtj)
stem=$(basename "$journal" .vtj)
for i in $(seq 2 "$passes"); do cp "$journal" "$records/${stem}_$(printf %03d "$i").vtj"; done
"$cli" recover --last >/dev/null 2>&1
count=$("$cli" history -f tsv | wc -l)
undone=$("$cli" history -f tsv | awk -F'\t' '$6 == "undone"' | wc -l)
echo "$count passes of $files rows ($(du -sh "$records" | cut -f1) of journals), $undone undone"
[ "$count" -eq "$passes" ] || { echo "history lists $count passes, not $passes" >&2; exit 1; }

if command -v hyperfine >/dev/null; then
  hyperfine --warmup 2 --runs 20 -N "$cli history -f tsv" "$cli history -f json"
else
  for format in tsv json; do
    start=$(date +%s%N)
    for _ in $(seq 1 20); do "$cli" history -f "$format" >/dev/null; done
    echo "history -f $format: $(( ($(date +%s%N) - start) / 20000000 )) ms a run"
  done
fi
# For scale: every journal read whole, as a list that read the rows would.
start=$(date +%s%N)
for j in "$records"/*.vtj; do "$cli" show "$j" -f tsv >/dev/null; done
echo "show of all $passes journals, once: $(( ($(date +%s%N) - start) / 1000000 )) ms"
# The window's list of the same passes, read off its thread.
if [ -x "$build/bench/bench_history_window" ]; then
  QT_QPA_PLATFORM=offscreen "$build/bench/bench_history_window" "$records" 7 2>/dev/null || true
else
  echo "bench_history_window not built (needs the window build)"
fi
# The target: under 200 ms, as the slowest of 10 runs.
worst=0
for _ in $(seq 1 10); do
  start=$(date +%s%N)
  "$cli" history >/dev/null
  ms=$(( ($(date +%s%N) - start) / 1000000 ))
  [ "$ms" -gt "$worst" ] && worst=$ms
done
echo "history, slowest of 10 runs: $worst ms (target: under 200 ms)"
[ "$worst" -lt 200 ]
