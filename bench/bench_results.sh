#!/usr/bin/env bash
# Result files: writing and reading a table of 100,000 rows (target < 100 ms each).
set -euo pipefail
build=${1:?build folder}
"$build/bench/bench_result_file" 100000 9
