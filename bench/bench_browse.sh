#!/usr/bin/env bash
# The browsing lists on big folders: 100,000 files, 10,000 sub-folders, in the
# C locale and in en_US (collated names). "best" is held to the target; "cpu" is
# the time the process itself spent (all its threads), which stays meaningful on
# a busy machine. The file list is timed until its new names are in; the longest
# the window's loop was held meanwhile is held to 33 ms in every run.
# VELTRANE_BENCH_FILES changes the number of files (1000000 for the million-file
# run), VELTRANE_BENCH_RUNS the number of runs.
set -euo pipefail
build=${1:?build folder}
exe="$build/bench/bench_browse"
if [ ! -x "$exe" ]; then
  echo "bench_browse not built (needs the window build)"; exit 0
fi
echo "load average: $(cut -d" " -f1-3 /proc/loadavg)"
QT_QPA_PLATFORM=offscreen "$exe" "${VELTRANE_BENCH_FILES:-100000}" 10000 "${VELTRANE_BENCH_RUNS:-7}" C,en_US
