#!/usr/bin/env bash
# Stress of "what moves is what was checked", on tmpfs and on disk: RUNS runs
# of COUNT files renamed by veltrane-cli -x and back by its recover while
# another process swaps files for folders and FIFOs. Exit status 1 when a
# folder or FIFO was renamed.
#   bench/stress_swap.sh BUILD_FOLDER [COUNT] [RUNS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
count=${2:-5000}
runs=${3:-5}
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
status=0
for parent in /dev/shm "${TMPDIR:-/var/tmp}"; do
  echo "in $parent:"
  for run in $(seq "$runs"); do
    "$build/bench/bench_stress_swap" "$build/src/cli/veltrane-cli" "$parent" "$count" || status=1
  done
done
exit $status
