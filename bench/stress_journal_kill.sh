#!/usr/bin/env bash
# The journal under fire: a rename pass over a folder of many files is
#   killed with SIGKILL at a random moment (KILL_TRIALS times), and
#   sent two to five of SIGTERM, SIGHUP and SIGINT within a millisecond (SIGNAL_TRIALS times);
# after each, every renamed file must be in the journal and `veltrane-cli recover --last`
# must bring every one back (0 left renamed, contents intact).
#   bench/stress_journal_kill.sh BUILD_FOLDER
# VELTRANE_STRESS_FILES (100,000), KILL_TRIALS (10), SIGNAL_TRIALS (10) change the sizes;
# VELTRANE_STRESS_SYNC=1 runs the passes with --sync (the journal written ahead on its own thread).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
files=${VELTRANE_STRESS_FILES:-100000}
kill_trials=${KILL_TRIALS:-10}
signal_trials=${SIGNAL_TRIALS:-10}
pass_options=(-x)
[ "${VELTRANE_STRESS_SYNC:-0}" = 0 ] || pass_options+=(--sync)
. "$(dirname "$0")/stress_work.sh"

fresh() {
  rm -rf "$dir" "$XDG_STATE_HOME" && mkdir -p "$dir" && (cd "$dir" && seq -f 'file_%06g.txt' 1 "$files" | xargs touch)
  # One file with contents, to see that it is the same file that comes back.
  echo first >"$dir/file_000001.txt"
}

# How long a whole pass takes here, so that the random moments fall inside it.
fresh
start=$(date +%s%N)
"$cli" "${pass_options[@]}" "$dir" replace file item >/dev/null 2>&1
pass_us=$(( ($(date +%s%N) - start) / 1000 ))
echo "a whole pass of $files files: $((pass_us / 1000)) ms; moments drawn from its last two thirds (the first third is mostly reading the folder)"

failures=0
check() {  # label renamed-before
  local label=$1 renamed=$2
  local in_journal recovered left content
  local journal
  journal=$(ls -t "$XDG_STATE_HOME"/veltrane/*.vtj 2>/dev/null | head -1 || true)
  in_journal=0
  [ -n "$journal" ] && in_journal=$("$cli" show "$journal" -f tsv 2>/dev/null | awk -F'\t' '$4 == "Ok"' | wc -l)
  "$cli" recover --last -f tsv >"$work/recover.out" 2>"$work/recover.err" || true
  recovered=$(awk -F'\t' '$4 == "Ok"' "$work/recover.out" | wc -l)
  left=$(find "$dir" -name 'item_*' | wc -l)
  content=$(cat "$dir/file_000001.txt" 2>/dev/null || echo missing)
  local verdict=ok
  if [ "$left" -ne 0 ] || [ "$in_journal" -lt "$renamed" ] || [ "$content" != first ]; then
    verdict=FAILED
    failures=$((failures + 1))
  fi
  echo "$label: renamed $renamed, in the journal $in_journal, brought back $recovered, left renamed $left: $verdict"
}

for trial in $(seq 1 "$kill_trials"); do
  fresh
  delay_us=$(( pass_us / 3 + (RANDOM * 32768 + RANDOM) % (2 * pass_us / 3 + 1) ))
  "$cli" "${pass_options[@]}" "$dir" replace file item >/dev/null 2>&1 &
  pid=$!
  sleep "$(awk -v us="$delay_us" 'BEGIN { printf "%.6f", us / 1e6 }')"
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  check "SIGKILL $trial at ${delay_us} us" "$(find "$dir" -name 'item_*' | wc -l)"
done

signals=(TERM HUP INT)
for trial in $(seq 1 "$signal_trials"); do
  fresh
  delay_us=$(( pass_us / 3 + (RANDOM * 32768 + RANDOM) % (2 * pass_us / 3 + 1) ))
  count=$(( 2 + RANDOM % 4 ))
  "$cli" "${pass_options[@]}" "$dir" replace file item >/dev/null 2>&1 &
  pid=$!
  sleep "$(awk -v us="$delay_us" 'BEGIN { printf "%.6f", us / 1e6 }')"
  sent=""
  for _ in $(seq 1 "$count"); do
    s=${signals[$((RANDOM % 3))]}
    kill -"$s" "$pid" 2>/dev/null || true
    sent="$sent $s"
  done
  wait "$pid" 2>/dev/null || true
  check "signals$sent $trial at ${delay_us} us" "$(find "$dir" -name 'item_*' | wc -l)"
done

echo "failures: $failures"
[ "$failures" -eq 0 ]
