#!/usr/bin/env bash
# The rename pass, timed: a Search/Replace that changes every name of a folder of
# 100,000 files ("file_000001.txt" -> "item_000001.txt"), on tmpfs and on disk, on
# identical fresh folders (made anew before every run):
#   veltrane-cli -x         the command line, rows written to /dev/null and kept in its
#                           automatic result file (under the benchmark's own folder)
#   bench_bare_rename       readdir + lstat + renameat2(RENAME_NOREPLACE), the least a safe renamer does
#   mmv -r                  the renamer a user would pick instead
#   bench_pass_synchronised the same pass with every row taken by a second thread through the queue (tmpfs)
# then the peak memory of the command line per entry of the folder.
# Targets: veltrane-cli within 1.05 x the bare loop and faster than mmv; synchronised rows
# within 2.5 x the bare loop on tmpfs; peak memory under 400 bytes per entry.
#   bench/bench_pass.sh BUILD_FOLDER
# VELTRANE_BENCH_FILES, VELTRANE_BENCH_RUNS (tmpfs) and VELTRANE_BENCH_DISK_RUNS change the sizes.
# Making a fresh folder of 100,000 files on disk takes seconds, so the disk part is the long one.
# Wall-clock and CPU time (user + system) are both given: on a busy machine the wall-clock
# ratios carry the other processes' noise, the CPU ratios much less.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
files=${VELTRANE_BENCH_FILES:-100000}
runs_tmpfs=${VELTRANE_BENCH_RUNS:-5}
runs_disk=${VELTRANE_BENCH_DISK_RUNS:-3}
cli=$build/src/cli/veltrane-cli
bare=$build/bench/bench_bare_rename
sync=$build/bench/bench_pass_synchronised

for program in "$cli" "$bare" "$sync"; do
  if [ ! -x "$program" ]; then
    echo "missing $program: build the targets veltrane-cli, bench_bare_rename and bench_pass_synchronised" >&2
    exit 1
  fi
done
for tool in hyperfine mmv /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing $tool (make deps installs it)" >&2; exit 1; }
done

work=$(mktemp -d)
tmpfs_dir=/dev/shm/veltrane-bench-$$
disk_dir=/var/tmp/veltrane-bench-$$
trap 'rm -rf "$work" "$tmpfs_dir" "$disk_dir"' EXIT
# The automatic result files of the runs stay out of the user's own.
export XDG_STATE_HOME=$work/state

cat >"$work/fresh" <<EOF
#!/bin/sh
# A fresh folder of $files empty files.
rm -rf "\$1" && mkdir -p "\$1" && cd "\$1" && seq -f 'file_%06g.txt' 1 $files | xargs touch
EOF
chmod +x "$work/fresh"

# Mean wall-clock seconds and CPU seconds (user + system) of one command of a hyperfine CSV.
figures() {  # csv name -> "mean cpu"
  awk -F, -v name="$2" '$1 == name { printf "%.3f %.3f\n", $2, $5 + $6 }' "$1"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

time_folder() {  # label folder runs with-synchronised
  local label=$1 dir=$2 runs=$3 with_sync=$4
  local commands=(
    -n cli "$cli -x $dir replace file item"
    -n bare "$bare $dir file item"
    -n mmv "mmv -r '$dir/file_*' 'item_#1'"
  )
  [ "$with_sync" = yes ] && commands+=(-n synchronised "$sync $dir file item")
  echo "-- $label: $files files in $dir, $runs runs each, fresh folder per run"
  hyperfine --style basic --runs "$runs" --prepare "$work/fresh $dir" --output=null \
    --export-csv "$work/$label.csv" "${commands[@]}" | grep --line-buffered -E "^(Benchmark|  Time|  Range)" || true
  read -r cli_wall cli_cpu < <(figures "$work/$label.csv" cli)
  read -r bare_wall bare_cpu < <(figures "$work/$label.csv" bare)
  read -r mmv_wall mmv_cpu < <(figures "$work/$label.csv" mmv)
  echo "$label wall-clock: cli ${cli_wall}s  bare ${bare_wall}s  mmv ${mmv_wall}s"
  echo "$label   cli/bare $(ratio "$cli_wall" "$bare_wall") (target <= 1.05)  cli/mmv $(ratio "$cli_wall" "$mmv_wall") (target < 1)"
  echo "$label cpu (user+sys): cli ${cli_cpu}s  bare ${bare_cpu}s  mmv ${mmv_cpu}s"
  echo "$label   cli/bare $(ratio "$cli_cpu" "$bare_cpu")  cli/mmv $(ratio "$cli_cpu" "$mmv_cpu")"
  if [ "$with_sync" = yes ]; then
    read -r sync_wall sync_cpu < <(figures "$work/$label.csv" synchronised)
    echo "$label synchronised rows: ${sync_wall}s wall, ${sync_cpu}s cpu"
    echo "$label   synchronised/bare $(ratio "$sync_wall" "$bare_wall") wall (target <= 2.5), $(ratio "$sync_cpu" "$bare_cpu") cpu"
  fi
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores (wall-clock ratios suffer on a busy machine)"
time_folder tmpfs "$tmpfs_dir" "$runs_tmpfs" yes
time_folder disk "$disk_dir" "$runs_disk" no

echo "-- peak memory (maximum resident set) of veltrane-cli -x over $files files on tmpfs"
"$work/fresh" "$tmpfs_dir"
base_kb=$(/usr/bin/time -f %M "$cli" --version 2>&1 >/dev/null | tail -1)
peak_kb=$( { /usr/bin/time -f %M "$cli" -x "$tmpfs_dir" replace file item >/dev/null; } 2>&1 | tail -1)
renamed=$(find "$tmpfs_dir" -maxdepth 1 -name 'item_*' | wc -l)
[ "$renamed" -eq "$files" ] || { echo "only $renamed of $files files were renamed" >&2; exit 1; }
echo "peak ${peak_kb} KiB, of which ${base_kb} KiB the program before any pass"
echo "bytes per entry: $(awk -v p="$peak_kb" -v n="$files" 'BEGIN { printf "%.0f", p * 1024 / n }') (target < 400)," \
  "$(awk -v p="$peak_kb" -v b="$base_kb" -v n="$files" 'BEGIN { printf "%.0f", (p - b) * 1024 / n }') above the start-up size"
