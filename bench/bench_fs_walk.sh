#!/usr/bin/env bash
# The walk through sub-folders: veltrane-cli -x -r against a bare handle-based
# walk over 2,000 folders of 50 files and over chains of nested folders, on
# tmpfs and on disk (target: within 1.15 x, at any depth).
#   bench/bench_fs_walk.sh BUILD_FOLDER   (VELTRANE_BENCH_RUNS sets the rounds)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${VELTRANE_BENCH_RUNS:-5}
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
"$build/bench/bench_fs_walk" "$build/src/cli/veltrane-cli" "$runs" /dev/shm
"$build/bench/bench_fs_walk" "$build/src/cli/veltrane-cli" "$runs" /var/tmp
