#!/usr/bin/env bash
# The window's passes, timed: the real window driven offscreen over a fresh folder
# of 100,000 files on tmpfs, a Simulate pass and a Rename pass (Search/Replace
# "file_000001.txt" -> "item_000001.txt"), each from the click to "Process Ok.",
# beside the bare readdir + lstat + renameat2 loop on an identical fresh folder in
# the same run; then Stop and Escape during a Rename pass.
# Figures: the largest wait between two ticks of a 10 ms timer while the pass runs
# (the result list is scrolled to its end at every tick), and the peak memory per
# row above what the shown window took before the click.
# Targets: Rename within 2.5 x the bare loop; the largest gap under 50 ms; under
# 600 bytes per row; a stop ends the pass within 100 ms.
#   bench/bench_window.sh BUILD_FOLDER
# VELTRANE_BENCH_FILES changes the size (1000000 for the million-file run),
# VELTRANE_BENCH_RUNS the number of runs of each (best and median are given).
# On a busy machine the gaps carry the other processes' noise: the load average
# is printed first.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
files=${VELTRANE_BENCH_FILES:-100000}
runs=${VELTRANE_BENCH_RUNS:-3}
window=$build/bench/bench_window_pass
bare=$build/bench/bench_bare_rename
if [ ! -x "$window" ]; then
  echo "bench_window_pass not built (needs the window build)"; exit 0
fi
[ -x "$bare" ] || { echo "missing $bare" >&2; exit 1; }

dir=/dev/shm/veltrane-window-bench-$$
trap 'rm -rf "$dir"' EXIT
fresh() { rm -rf "$dir" && mkdir -p "$dir" && (cd "$dir" && seq -f 'file_%06g.txt' 1 "$files" | xargs touch); }
field() { sed -n "s/.* $1=\([^ ]*\).*/\1/p"; }
stats() {  # numbers on stdin -> "best median"
  sort -g | awk '{ v[NR] = $1 } END { printf "%s %s\n", v[1], v[int((NR + 1) / 2)] }'
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores; $files files on tmpfs, $runs runs each"
bare_times=()
for ((i = 0; i < runs; i++)); do
  fresh
  start=$(date +%s.%N)
  "$bare" "$dir" file item >/dev/null
  bare_times+=("$(awk -v a="$(date +%s.%N)" -v b="$start" 'BEGIN { print a - b }')")
done
read -r bare_best bare_median < <(printf '%s\n' "${bare_times[@]}" | stats)
printf "bare loop      best %.3fs  median %.3fs\n" "$bare_best" "$bare_median"

for mode in simulate rename stop escape; do
  out=()
  for ((i = 0; i < runs; i++)); do
    fresh
    out+=("$(QT_QPA_PLATFORM=offscreen "$window" "$dir" "$mode" 2>/dev/null | grep '^mode=')")
  done
  read -r best median < <(printf '%s\n' "${out[@]}" | field seconds | stats)
  read -r gap_best gap_worst < <(printf '%s\n' "${out[@]}" | field max_gap_ms | sort -g | awk '{ v[NR] = $1 } END { print v[1], v[NR] }')
  line=$(printf "%-8s click to \"Process Ok.\" best %.3fs median %.3fs" "$mode" "$best" "$median")
  case $mode in
    simulate | rename)
      read -r bytes _ < <(printf '%s\n' "${out[@]}" | field bytes_per_row | stats)
      ratio=$(awk -v a="$best" -v b="$bare_best" 'BEGIN { print a / b }')
      line+=$(printf "  %.2f x bare  gap %s..%s ms  %s bytes/row" "$ratio" "$gap_best" "$gap_worst" "$bytes")
      ;;
    *)
      read -r stop_best stop_median < <(printf '%s\n' "${out[@]}" | field stop_ms | stats)
      line+=$(printf "  stop to end best %s ms median %s ms  gap %s..%s ms" "$stop_best" "$stop_median" "$gap_best" "$gap_worst")
      ;;
  esac
  echo "$line"
done
echo "targets: rename <= 2.5 x bare, gap < 50 ms, < 600 bytes/row, stop to end < 100 ms"
