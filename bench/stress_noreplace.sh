#!/usr/bin/env bash
# Stress of the no-replace rename, on tmpfs and on disk: 10,000 renames by
# veltrane-cli -x while another process keeps creating the target names; every
# file of both is checked by the hash of its content afterwards. Exit status 1
# when a file was lost. About a second per folder; at most two minutes each.
#   bench/stress_noreplace.sh BUILD_FOLDER [COUNT]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
count=${2:-10000}
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
status=0
for parent in /dev/shm "${TMPDIR:-/var/tmp}"; do
  "$build/bench/bench_stress_noreplace" "$build/src/cli/veltrane-cli" "$parent" "$count" || status=1
done
exit $status
