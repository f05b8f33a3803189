#!/usr/bin/env bash
# Peak memory and wall time of undoing a big pass: N files on tmpfs renamed
# with -x, then undone by recover --last; once by a baseline veltrane-cli (an
# earlier build) and once by this build's, in the same run, each after a pass
# of its own. This build then undoes a third pass by naming its journal, and
# a fourth by naming the result file it saved.
# Target: recover of 1,000,000 rows at most 150 MB.
#   bench/bench_recover_memory.sh BUILD_FOLDER [BASELINE_CLI]
# VELTRANE_BENCH_FILES (1,000,000) changes the size.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
cli=$build/src/cli/veltrane-cli
baseline=${2:-}
files=${VELTRANE_BENCH_FILES:-1000000}
[ -x "$cli" ] || { echo "missing $cli: build the target veltrane-cli" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "missing /usr/bin/time (the package time)" >&2; exit 1; }

base=/dev/shm
[ -d "$base" ] || base=${TMPDIR:-/tmp}
work=$(mktemp -d "$base/veltrane-recover-XXXXXX")
trap 'rm -rf "$work"' EXIT
export XDG_STATE_HOME=$work/state
dir=$work/files
mkdir -p "$dir" && (cd "$dir" && seq -f 'f%07g.txt' 1 "$files" | xargs touch)

# Runs a command, prints its peak RSS and wall time; fails when it does.
measure() {
  local label=$1
  shift
  /usr/bin/time -f '%M %e' -o "$work/time" "$@" >/dev/null 2>"$work/err" || {
    cat "$work/err" >&2
    exit 1
  }
  awk -v label="$label" '{ printf "%-34s %7.1f MB %8.2f s\n", label, $1 / 1024, $2 }' "$work/time"
}

# Every file back under its first name, none left over.
check_back() {
  local back
  back=$(find "$dir" -name 'f*.txt' | wc -l)
  [ "$back" -eq "$files" ] || { echo "$back of $files files back after $1" >&2; exit 1; }
}

echo "$files files on $(df --output=fstype "$dir" | tail -1)"
for who in ${baseline:+baseline} this; do
  program=$cli
  [ "$who" = baseline ] && program=$baseline
  measure "$who: pass -x" "$program" -x -y -f tsv "$dir" replace f g
  measure "$who: recover --last" "$program" recover --last -f tsv
  check_back "$who recover --last"
done
measure "this: pass -x" "$cli" -x -y -f tsv "$dir" replace f g
journal=$(ls -t "$XDG_STATE_HOME"/veltrane/*.vtj | head -1)
measure "this: recover JOURNAL.vtj" "$cli" recover "$journal" -f tsv
check_back "recover JOURNAL.vtj"
measure "this: pass -x -o FILE.vtr" "$cli" -x -y -f tsv -o "$work/pass.vtr" "$dir" replace f g
measure "this: recover FILE.vtr" "$cli" recover "$work/pass.vtr" -f tsv
check_back "recover FILE.vtr"
