#!/usr/bin/env bash
# The window's passes, timed: the real window driven offscreen over a fresh folder
# of 100,000 files on tmpfs, a Simulate pass and a Rename pass (Search/Replace
# "file_000001.txt" -> "item_000001.txt"), each from the click to "Process Ok.",
# beside the bare readdir + lstat + renameat2 loop on an identical fresh folder in
# the same run, and beside the checked loop (bench_bare_rename --checked: what our
# renames must do per file, an lstat before and after each renameat2, no listing
# lstat), the floor the program's checks set; then Stop and Escape during a
# Rename pass. Each pass's ratio is given against both loops.
# Then the same beside busy processes, one per core (as a compile or a browser
# would keep them): the bare loop, Simulate and Rename of 20,000 and of the full
# number of files, and Stop, all under that same load.
# Figures: the largest wait between two ticks of a 10 ms timer while the pass runs
# (the result list is scrolled to its end at every tick), the same from the end of
# the pass until the clash marks have settled ("settle gap"), and the peak memory
# per row above what the shown window took before the click. The pass ends at
# "Process Ok."; what the window does after it (the file list read again, the
# pass's record kept on its worker, a simulation's clashes looked for) is given
# apart, as the time until the window is free, and for a rename the time until
# its record has been kept. Each line ends with the load average it was
# measured under.
# Targets: idle, Rename within 1.3 x and Simulate within 1.1 x the bare loop; the
# largest gap under 33 ms; at most 300 bytes per row; a stop ends the pass within
# 100 ms. Beside busy processes, every pass within 3 x the bare loop under the
# same load, and a stop still within 100 ms.
#   bench/bench_window.sh BUILD_FOLDER
# VELTRANE_BENCH_FILES changes the size (1000000 for the million-file run; the
# Rename target there is 1.5 x), VELTRANE_BENCH_RUNS the number of runs of each
# (best and median are given), VELTRANE_BENCH_BUSY=0 leaves the busy part out.
# On a busy machine the gaps carry the other processes' noise: the load average
# is printed first.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
files=${VELTRANE_BENCH_FILES:-100000}
runs=${VELTRANE_BENCH_RUNS:-3}
busy_part=${VELTRANE_BENCH_BUSY:-1}
window=$build/bench/bench_window_pass
bare=$build/bench/bench_bare_rename
if [ ! -x "$window" ]; then
  echo "bench_window_pass not built (needs the window build)"; exit 0
fi
[ -x "$bare" ] || { echo "missing $bare" >&2; exit 1; }

dir=/dev/shm/veltrane-window-bench-$$
busy_pids=()
stop_busy() {
  for pid in "${busy_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${busy_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  busy_pids=()
}
trap 'stop_busy; rm -rf "$dir"' EXIT
fresh() { rm -rf "$dir" && mkdir -p "$dir" && (cd "$dir" && seq -f 'file_%06g.txt' 1 "$1" | xargs touch); }
field() { sed -n "s/.* $1=\([^ ]*\).*/\1/p"; }
stats() {  # numbers on stdin -> "best median"
  sort -g | awk '{ v[NR] = $1 } END { printf "%s %s\n", v[1], v[int((NR + 1) / 2)] }'
}

# bare N RUNS -> prints "best median checked-best checked-median": the bare loop
# and the checked loop in turn, each over a fresh folder.
bare() {
  local times=() checked_times=() start
  for ((i = 0; i < $2; i++)); do
    fresh "$1"
    start=$(date +%s.%N)
    "$bare" "$dir" file item >/dev/null 2>&1
    times+=("$(awk -v a="$(date +%s.%N)" -v b="$start" 'BEGIN { print a - b }')")
    fresh "$1"
    start=$(date +%s.%N)
    "$bare" "$dir" file item --checked >/dev/null 2>&1
    checked_times+=("$(awk -v a="$(date +%s.%N)" -v b="$start" 'BEGIN { print a - b }')")
  done
  echo "$(printf '%s\n' "${times[@]}" | stats) $(printf '%s\n' "${checked_times[@]}" | stats)"
}
bare_lines() {  # N BARE_BEST BARE_MEDIAN CHECKED_BEST CHECKED_MEDIAN
  printf "bare loop      %7d files: best %.3fs  median %.3fs\n" "$1" "$2" "$3"
  printf "checked loop   %7d files: best %.3fs  median %.3fs  (%.2f x bare: the floor)\n" "$1" "$4" "$5" \
    "$(awk -v a="$4" -v b="$2" 'BEGIN { print a / b }')"
}

# passes N RUNS BARE_BEST MODES...: one line of figures per mode
passes() {
  local n=$1 count=$2 bare_best=$3 mode out best median gap_best gap_worst settle_best settle_worst bytes ratio line
  shift 3
  for mode in "$@"; do
    out=()
    for ((i = 0; i < count; i++)); do
      fresh "$n"
      out+=("$(QT_QPA_PLATFORM=offscreen "$window" "$dir" "$mode" 2>/dev/null | grep '^mode=')")
    done
    read -r best median < <(printf '%s\n' "${out[@]}" | field seconds | stats)
    read -r gap_best gap_worst < <(printf '%s\n' "${out[@]}" | field max_gap_ms | sort -g | awk '{ v[NR] = $1 } END { print v[1], v[NR] }')
    read -r settle_best settle_worst < <(printf '%s\n' "${out[@]}" | field settle_gap_ms | sort -g | awk '{ v[NR] = $1 } END { print v[1], v[NR] }')
    line=$(printf "%-8s %7d files: click to \"Process Ok.\" best %.3fs median %.3fs" "$mode" "$n" "$best" "$median")
    case $mode in
      simulate | rename)
        read -r bytes _ < <(printf '%s\n' "${out[@]}" | field bytes_per_row | stats)
        read -r pass_bytes _ < <(printf '%s\n' "${out[@]}" | field pass_bytes_per_row | stats)
        ratio=$(awk -v a="$median" -v b="$bare_best" 'BEGIN { print a / b }')
        line+=$(printf "  %.2f x bare, %.2f x checked loop" "$ratio" \
          "$(awk -v a="$median" -v b="$checked_best" 'BEGIN { print a / b }')")
        line+=$(printf "  gap %s..%s ms  %s bytes/row (%s while running)" "$gap_best" "$gap_worst" "$bytes" "$pass_bytes")
        read -r _ refill < <(printf '%s\n' "${out[@]}" | field refill_ms | stats)
        read -r _ end_ms < <(printf '%s\n' "${out[@]}" | field end_ms | stats)
        line+=$(printf "  after \"Process Ok.\": list read again %s ms, window free %s ms (median)" "$refill" "$end_ms")
        if [ "$mode" = rename ]; then
          read -r _ record_ms < <(printf '%s\n' "${out[@]}" | field record_ms | stats)
          line+=$(printf ", record kept %s ms (median)" "$record_ms")
        fi
        ;;
      *)
        read -r stop_best stop_median < <(printf '%s\n' "${out[@]}" | field stop_ms | stats)
        line+=$(printf "  stop to end best %s ms median %s ms  gap %s..%s ms" "$stop_best" "$stop_median" "$gap_best" "$gap_worst")
        ;;
    esac
    line+=$(printf "  settle gap %s..%s ms  (load %s)" "$settle_best" "$settle_worst" "$(cut -d' ' -f1-3 /proc/loadavg)")
    echo "$line"
  done
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores; $files files on tmpfs, $runs runs each"
echo "== idle"
read -r bare_best bare_median checked_best checked_median < <(bare "$files" "$runs")
bare_lines "$files" "$bare_best" "$bare_median" "$checked_best" "$checked_median"
passes "$files" "$runs" "$bare_best" simulate rename stop escape
echo "(x bare: median over the bare loop's best; x checked loop: the same over the checked loop's best)"
echo "targets: simulate <= 1.1 x and rename <= 1.3 x bare (1.5 x for a million files), gap < 33 ms, <= 300 bytes/row, stop to end < 100 ms"

if [ "$busy_part" != 0 ]; then
  echo "== beside busy processes, one per core"
  for ((c = 0; c < $(nproc); c++)); do
    (while :; do :; done) &
    busy_pids+=($!)
  done
  echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) with ${#busy_pids[@]} busy processes"
  for n in 20000 "$files"; do
    read -r busy_bare_best busy_bare_median checked_best checked_median < <(bare "$n" "$runs")
    bare_lines "$n" "$busy_bare_best" "$busy_bare_median" "$checked_best" "$checked_median"
    passes "$n" "$runs" "$busy_bare_best" simulate rename
  done
  passes "$files" "$runs" 0 stop
  stop_busy
  echo "targets: every pass <= 3 x the bare loop under the same load, stop to end < 100 ms"
fi
