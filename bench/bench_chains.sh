#!/usr/bin/env bash
# What --chains costs a pass over a folder without chains: the same pass with
# and without it, paired run by run (A = --chains, B = without; A B A B ...),
# at 20,000 and 100,000 files on tmpfs, as a rename ("file_N.txt" <-> "item_N.txt",
# each command in a folder of its own that it renames one way and back) and as
# a simulation. Then a folder that is one chain, to show that it is still
# planned (every row "Ok").
# Target: A/B at most 1.05 (wall and cpu medians).
#   bench/bench_chains.sh BUILD_FOLDER [BASELINE_CLI]
# BASELINE_CLI, an older veltrane-cli, is measured the same way in the same run:
# its A/B ratios are the "before". VELTRANE_BENCH_RUNS (default 11) runs per command.
# Each pair is timed by GNU time, one run of A then one of B, after one of
# each not counted; the ratios are taken pair by pair, so that a machine
# whose speed drifts slows both alike.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
baseline=${2:-}
runs=${VELTRANE_BENCH_RUNS:-11}
cli=$build/src/cli/veltrane-cli
[ -x "$cli" ] || { echo "missing $cli: build the target veltrane-cli" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "missing /usr/bin/time (the time package)" >&2; exit 1; }

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

# paired REPORT 'A' 'B': runs A and B in turn (each a shell command), one
# pair not counted first; REPORT gets a line "wallA wallB cpuA cpuB peakA peakB" per pair.
paired() {
  local report=$1 a=$2 b=$3 one=$work/one.time i
  : >"$report"
  for i in $(seq 0 "$runs"); do
    /usr/bin/time -f '%e %U %S %M' -o "$one.a" sh -c "$a" 2>/dev/null
    /usr/bin/time -f '%e %U %S %M' -o "$one.b" sh -c "$b" 2>/dev/null
    [ "$i" = 0 ] && continue
    read -r wa ua sa ma <"$one.a"
    read -r wb ub sb mb <"$one.b"
    echo "$wa $wb $(awk -v u="$ua" -v s="$sa" 'BEGIN { print u + s }') $(awk -v u="$ub" -v s="$sb" 'BEGIN { print u + s }') $ma $mb" >>"$report"
  done
}

# The median of a column of a paired report, or of the ratio of two columns pair by pair.
median() {  # REPORT COLUMN [DIVISOR_COLUMN]
  awk -v c="$2" -v d="${3:-0}" '{ print d ? $c / $d : $c }' "$1" | sort -g |
    awk '{ v[NR] = $1 } END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.3f", m }'
}

compare() {  # label program files
  local label=$1 program=$2 files=$3 report
  fresh "$work/a" "$files"
  fresh "$work/b" "$files"
  report=$work/$label-rename-$files.txt
  paired "$report" "$work/toggle $program $work/a --chains" "$work/toggle $program $work/b"
  echo "$label rename $files files: --chains/plain wall $(median "$report" 1 2)," \
    "cpu $(median "$report" 3 4); peak $(median "$report" 5 | awk '{ printf "%.1f", $1 / 1024 }')" \
    "vs $(median "$report" 6 | awk '{ printf "%.1f", $1 / 1024 }') MiB"
  report=$work/$label-simulate-$files.txt
  paired "$report" "exec $program --chains $work/a replace item x >/dev/null" \
    "exec $program $work/a replace item x >/dev/null"
  echo "$label simulate $files files: --chains/plain wall $(median "$report" 1 2)," \
    "cpu $(median "$report" 3 4); peak $(median "$report" 5 | awk '{ printf "%.1f", $1 / 1024 }')" \
    "vs $(median "$report" 6 | awk '{ printf "%.1f", $1 / 1024 }') MiB"
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
