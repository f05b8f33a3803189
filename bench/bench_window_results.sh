#!/usr/bin/env bash
# Result files through the window: save from and load into the main window's
# table of 100,000 rows while its list shows them (target < 200 ms each). The
# save includes flushing the file to disk, so the folder's device counts.
set -euo pipefail
build=${1:?build folder}
exe="$build/bench/bench_window_result_files"
if [ ! -x "$exe" ]; then
  echo "bench_window_result_files not built (needs the window build)"; exit 0
fi
echo "load average: $(cut -d" " -f1-3 /proc/loadavg)"
QT_QPA_PLATFORM=offscreen "$exe" 100000 7 "${2:-${TMPDIR:-/tmp}}"
