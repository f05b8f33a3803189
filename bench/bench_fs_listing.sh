#!/usr/bin/env bash
# File-system layer: listing and renaming 100,000 files against a bare
# readdir + fstatat + renameat2 loop (the whole rename pass must stay within 1.15x).
set -euo pipefail
build=${1:?build folder}
"$build/bench/bench_fs_listing_rename" 100000 3
