#!/usr/bin/env bash
# The file list's preview while typing into Search/Replace over 100,000 files
# on tmpfs, idle and beside one busy process per core: the rows in view within
# 50 ms of a keystroke (p95 of 50), the whole list and the clash count within
# 1 s, no hold of the window's loop over 33 ms, at most 120 bytes per file.
# VELTRANE_BENCH_FILES changes the number of files (1000000 for the million-file run).
# VELTRANE_BENCH_BASELINE=path/to/an/older/bench_preview runs that one first, in
# the same way, for figures from before and after in one run.
set -euo pipefail
build=${1:?build folder}
exe="$build/bench/bench_preview"
if [ ! -x "$exe" ]; then
  echo "bench_preview not built (needs the window build)"; exit 0
fi
echo "load average: $(cut -d" " -f1-3 /proc/loadavg)"
status=0
for mode in idle busy; do
  if [ -n "${VELTRANE_BENCH_BASELINE:-}" ]; then
    echo "baseline ($VELTRANE_BENCH_BASELINE), $mode:"
    QT_QPA_PLATFORM=offscreen "$VELTRANE_BENCH_BASELINE" "${VELTRANE_BENCH_FILES:-100000}" \
      $([ $mode = busy ] && echo busy) || true
    echo "this build, $mode:"
  fi
  QT_QPA_PLATFORM=offscreen "$exe" "${VELTRANE_BENCH_FILES:-100000}" $([ $mode = busy ] && echo busy) || status=1
done
exit $status
