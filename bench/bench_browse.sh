#!/usr/bin/env bash
# The browsing lists on big folders: 100,000 files, 10,000 sub-folders, in the
# C locale and in en_US (collated names). "best" is held to the target; "cpu" is
# the time the process itself spent, which stays meaningful on a busy machine.
set -euo pipefail
build=${1:?build folder}
exe="$build/bench/bench_browse"
if [ ! -x "$exe" ]; then
  echo "bench_browse not built (needs the window build)"; exit 0
fi
echo "load average: $(cut -d" " -f1-3 /proc/loadavg)"
QT_QPA_PLATFORM=offscreen "$exe" 100000 10000 7 C,en_US
