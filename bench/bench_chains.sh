#!/usr/bin/env bash
# What --chains costs a pass over a folder without chains: the same pass with
# and without it, paired by farm-bench (A = --chains, B = without; A B A B ...),
# at 20,000 and 100,000 files on tmpfs, as a rename ("file_N.txt" <-> "item_N.txt",
# each command in a folder of its own that it renames one way and back) and as
# a simulation. Then a folder that is one chain, to show that it is still
# planned (every row "Ok").
# Target: A/B at most 1.05 (wall and cpu medians).
#   bench/bench_chains.sh BUILD_FOLDER [BASELINE_CLI]
# BASELINE_CLI, an older veltrane-cli, is measured the same way in the same run:
# its A/B ratios are the "before". VELTRANE_BENCH_RUNS (default 11) runs per command.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
baseline=${2:-}
runs=${VELTRANE_BENCH_RUNS:-11}
cli=$build/src/cli/veltrane-cli
[ -x "$cli" ] || { echo "missing $cli: build the target veltrane-cli" >&2; exit 1; }
# The pairing tool is this machine's own: elsewhere the other benchmarks still run.
command -v farm-bench >/dev/null || { echo "skipped: farm-bench is not installed" >&2; exit 0; }

work=$(mktemp -d /dev/shm/veltrane-chains-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
# The automatic records of the runs stay out of the user's own.
export XDG_STATE_HOME=$work/state

# toggle CLI FOLDER [OPTION]: renames file_ to item_ or back, whichever the folder holds now.
cat >"$work/toggle" <<'EOS'
#!/bin/sh
cli=$1 dir=$2; shift 2
if [ -e "$dir/file_000001.txt" ]; then exec "$cli" -x "$@" "$dir" replace file item >/dev/null
else exec "$cli" -x "$@" "$dir" replace item file >/dev/null; fi
EOS
chmod +x "$work/toggle"

fresh() {  # folder files
  rm -rf "$1" && mkdir -p "$1" && (cd "$1" && seq -f 'file_%06g.txt' 1 "$2" | xargs touch)
}

# The median line of a figure in farm-bench's report: "A/B cpu 0.98 1.01 1.07" -> 1.01.
median() { awk -v what="$2" '$0 ~ "^"what" " { print $(NF-1) }' "$1"; }

compare() {  # label program files
  local label=$1 program=$2 files=$3 report
  local timeout=$((runs * files / 400 + 120))
  fresh "$work/a" "$files"
  fresh "$work/b" "$files"
  report=$work/$label-rename-$files.txt
  farm-bench -n "$runs" --timeout "$timeout" --vs "$work/toggle $program $work/b" -- \
    "$work/toggle" "$program" "$work/a" --chains >"$report" 2>&1
  echo "$label rename $files files: --chains/plain wall $(median "$report" 'A/B wall')," \
    "cpu $(median "$report" 'A/B cpu'); peak $(median "$report" 'A peak MiB') vs $(median "$report" 'B peak MiB') MiB"
  report=$work/$label-simulate-$files.txt
  farm-bench -n "$runs" --timeout "$timeout" --vs "sh -c 'exec $program $work/a replace item x >/dev/null'" -- \
    sh -c "exec $program --chains $work/a replace item x >/dev/null" >"$report" 2>&1
  echo "$label simulate $files files: --chains/plain wall $(median "$report" 'A/B wall')," \
    "cpu $(median "$report" 'A/B cpu'); peak $(median "$report" 'A peak MiB') vs $(median "$report" 'B peak MiB') MiB"
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores; $runs runs per command, medians"
for files in 20000 100000; do
  compare now "$cli" "$files"
  if [ -n "$baseline" ]; then compare before "$baseline" "$files"; fi
done

# A folder that is one chain is still planned: 1..20000 shifted to start at 2, every row "Ok".
rm -rf "$work/c" && mkdir "$work/c" && (cd "$work/c" && seq -f '%g.txt' 1 20000 | xargs touch)
"$cli" -x --chains --order natural -f tsv "$work/c" number --start 2 >"$work/chain.tsv" 2>"$work/chain.err" || true
ok=$(grep -c $'\tOk$' "$work/chain.tsv" || true)
echo "one chain of 20000 files shifted by one: $ok of $(wc -l <"$work/chain.tsv") rows Ok"
