#!/usr/bin/env bash
# Reading back 180,000 journal rows that come in descending order (a recover
# that renamed a chain back last first writes them so), whole and streamed.
# Target: under 0.5 s each.
#   bench/bench_journal_read.sh BUILD_FOLDER
# VELTRANE_BENCH_ROWS (180,000) changes the size.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
program=$build/bench/bench_journal_read
[ -x "$program" ] || { echo "missing $program: build bench_journal_read" >&2; exit 1; }
base=/dev/shm
[ -w "$base" ] || base=${TMPDIR:-/tmp}
"$program" "${VELTRANE_BENCH_ROWS:-180000}" 5 "$base"
