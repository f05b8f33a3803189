#!/usr/bin/env bash
# An earlier pass undone with the later ones, under fire: three passes A, B, C
# over the same folder (B renames every file A renamed, C some of them again),
# then `recover A --with-later` killed with SIGKILL at a random moment
# (KILL_TRIALS times). After each, `recover --last` run until nothing is left
# must bring every file back under its name from before A, contents intact.
#   bench/stress_history_kill.sh BUILD_FOLDER
# VELTRANE_STRESS_FILES (20,000) and KILL_TRIALS (10) change the sizes.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
files=${VELTRANE_STRESS_FILES:-20000}
kill_trials=${KILL_TRIALS:-10}
. "$(dirname "$0")/stress_work.sh"

# The folder and its three passes; prints the ID of A.
fresh() {
  rm -rf "$dir" "$XDG_STATE_HOME" && mkdir -p "$dir" && (cd "$dir" && seq -f 'file_%06g.txt' 1 "$files" | xargs touch)
  echo first >"$dir/file_000001.txt"
  "$cli" -x "$dir" replace file item >/dev/null 2>&1
  "$cli" -x "$dir" insert "b-" --at begin >/dev/null 2>&1
  "$cli" -x -m "b-item_0000*" "$dir" case upper >/dev/null 2>&1
  "$cli" history -f tsv | tail -1 | cut -f1
}

original() { [ "$(find "$dir" -name 'file_*.txt' | wc -l)" -eq "$files" ] && [ "$(ls "$dir" | wc -l)" -eq "$files" ]; }

a=$(fresh)
start=$(date +%s%N)
"$cli" recover "$a" --with-later >/dev/null 2>&1
undo_us=$(( ($(date +%s%N) - start) / 1000 ))
original || { echo "recover $a --with-later left files renamed" >&2; exit 1; }
echo "recover A --with-later over $files files and three passes: $((undo_us / 1000)) ms; kills drawn from within it"

failures=0
for trial in $(seq 1 "$kill_trials"); do
  a=$(fresh)
  delay_us=$(( (RANDOM * 32768 + RANDOM) % (undo_us + 1) ))
  "$cli" recover "$a" --with-later >/dev/null 2>&1 &
  pid=$!
  sleep "$(awk -v us="$delay_us" 'BEGIN { printf "%.6f", us / 1e6 }')"
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  states=$("$cli" history -f tsv | cut -f6 | tr '\n' ',')
  runs=0
  # Exit status 2: nothing left to undo. 1 is a recover that found some files back already.
  while [ "$runs" -lt 10 ]; do
    rc=0
    "$cli" recover --last >/dev/null 2>&1 || rc=$?
    [ "$rc" -eq 2 ] && break
    runs=$((runs + 1))
  done
  content=$(cat "$dir/file_000001.txt" 2>/dev/null || echo missing)
  verdict=ok
  if ! original || [ "$content" != first ]; then verdict=FAILED; failures=$((failures + 1)); fi
  echo "SIGKILL $trial at ${delay_us} us: states then ${states%,}; recover --last ran $runs times: $verdict"
done
echo "failures: $failures"
[ "$failures" -eq 0 ]
