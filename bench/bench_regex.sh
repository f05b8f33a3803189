#!/usr/bin/env bash
# Search/Replace with a regular expression, timed: a Simulate over a folder of
# 100,000 files on tmpfs ("file_000001.txt" -> "item_000001.txt"), in one run:
#   regex   veltrane-cli replace --regex '^file_(\d+)' 'item_$1'
#   plain   veltrane-cli replace file_ item_ (the same new names, no expression)
#   perl    perl's rename -n 's/^file_(\d+)/item_$1/' over the same names
# Rows go to /dev/null. Targets: regex within 1.2 x plain, and no slower than perl.
#   bench/bench_regex.sh BUILD_FOLDER
# VELTRANE_BENCH_FILES and VELTRANE_BENCH_RUNS change the sizes.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
files=${VELTRANE_BENCH_FILES:-100000}
runs=${VELTRANE_BENCH_RUNS:-5}
cli=$build/src/cli/veltrane-cli
[ -x "$cli" ] || { echo "missing $cli: build the target veltrane-cli" >&2; exit 1; }
for tool in hyperfine file-rename; do
  command -v "$tool" >/dev/null || { echo "missing $tool (make deps-bench installs it)" >&2; exit 1; }
done

work=$(mktemp -d)
dir=/dev/shm/veltrane-bench-regex-$$
trap 'rm -rf "$work" "$dir"' EXIT
export XDG_STATE_HOME=$work/state
mkdir -p "$dir" && (cd "$dir" && seq -f 'file_%06g.txt' 1 "$files" | xargs touch)

# The three give the same new names: checked before anything is timed.
"$cli" -f tsv "$dir" replace --regex --case-sensitive '^file_(\d+)' 'item_$1' | cut -f2 | sort >"$work/regex.names"
"$cli" -f tsv "$dir" replace --case-sensitive file_ item_ | cut -f2 | sort >"$work/plain.names"
(cd "$dir" && ls -f | grep -v '^\.' | file-rename -n 's/^file_(\d+)/item_$1/' 2>&1) |
  sed -n 's/^rename(.*, \(.*\))$/\1/p' | sort >"$work/perl.names"
if ! cmp -s "$work/regex.names" "$work/plain.names" || ! cmp -s "$work/regex.names" "$work/perl.names"; then
  echo "the three do not give the same names" >&2
  exit 1
fi
echo "-- $files files in $dir, simulated, $runs runs each; all three give the same $(wc -l <"$work/regex.names") names"

figures() {  # csv name -> "mean cpu"
  awk -F, -v name="$2" '$1 == name { printf "%.3f %.3f\n", $2, $5 + $6 }' "$1"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

hyperfine --style basic --warmup 1 --runs "$runs" --output=null --export-csv "$work/regex.csv" \
  -n regex "$cli -f tsv $dir replace --regex --case-sensitive '^file_(\\d+)' 'item_\$1'" \
  -n plain "$cli -f tsv $dir replace --case-sensitive file_ item_" \
  -n perl "cd $dir && ls -f | grep -v '^\\.' | file-rename -n 's/^file_(\\d+)/item_\$1/'" |
  grep --line-buffered -E "^(Benchmark|  Time|  Range)" || true
read -r regex_wall regex_cpu < <(figures "$work/regex.csv" regex)
read -r plain_wall plain_cpu < <(figures "$work/regex.csv" plain)
read -r perl_wall perl_cpu < <(figures "$work/regex.csv" perl)
echo "wall-clock: regex ${regex_wall}s  plain ${plain_wall}s  perl ${perl_wall}s"
echo "  regex/plain $(ratio "$regex_wall" "$plain_wall") (target <= 1.2)  regex/perl $(ratio "$regex_wall" "$perl_wall") (target <= 1)"
echo "cpu (user+sys): regex ${regex_cpu}s  plain ${plain_cpu}s  perl ${perl_cpu}s"
echo "  regex/plain $(ratio "$regex_cpu" "$plain_cpu")  regex/perl $(ratio "$regex_cpu" "$perl_cpu")"
