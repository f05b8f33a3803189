#!/usr/bin/env bash
# Passes whose renames form chains, undone by `veltrane-cli recover --last`:
#   renumbering shifts 2..11 -> 1..10 and 2..5001 -> 1..5000 (number --start 1 --order natural),
#   a rotation made in two passes (1 moved past the end, then all renumbered from 1),
# each once run to its end and once killed in its last block after its renames
# (VELTRANE_TEST_KILL_APPEND=N:before). recover --last runs once per pass made;
# every file must be back under its name with its contents: 0 left.
#   bench/stress_undo_shifts.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
. "$(dirname "$0")/stress_work.sh"

fresh() {  # first last
  rm -rf "$dir" "$XDG_STATE_HOME" && mkdir -p "$dir"
  for i in $(seq "$1" "$2"); do echo "$i" >"$dir/$i.txt"; done
}
# Files whose name is not what they hold, and files missing.
left() {  # first last
  local wrong=0 i content
  for i in $(seq "$1" "$2"); do
    content=""
    [ -f "$dir/$i.txt" ] && read -r content <"$dir/$i.txt"
    [ "$content" = "$i" ] || wrong=$((wrong + 1))
  done
  local extra=$(( $(ls "$dir" | wc -l) - ($2 - $1 + 1) ))
  echo $((wrong + (extra > 0 ? extra : 0)))
}
# The append that writes a pass's last outcomes: the header, then one per block of 256 entries (with . and ..).
last_append() { echo $(( 2 + ($1 + 2 + 255) / 256 )); }

failures=0
report() {  # label left recovers
  local verdict=ok
  [ "$2" -eq 0 ] || { verdict=FAILED; failures=$((failures + 1)); }
  echo "$1: $3 recover --last, left $2: $verdict"
}
recover_last() { "$cli" recover --last -f tsv >/dev/null 2>>"$work/recover.err" || true; }

for files in 10 5000; do
  for killed in no yes; do
    fresh 2 $((files + 1))
    kill_env=()
    [ "$killed" = yes ] && kill_env=(VELTRANE_TEST_KILL_APPEND="$(last_append "$files"):before")
    env "${kill_env[@]}" "$cli" -x -y "$dir" number --start 1 --order natural >/dev/null 2>&1 || true
    recover_last
    report "renumber 2..$((files + 1)) -> 1..$files, killed: $killed" "$(left 2 $((files + 1)))" 1
  done
done

for files in 2 1000; do
  for killed in no yes; do
    fresh 1 "$files"
    "$cli" -x -y -m 1.txt "$dir" number --start $((files + 1)) >/dev/null 2>&1
    kill_env=()
    [ "$killed" = yes ] && kill_env=(VELTRANE_TEST_KILL_APPEND="$(last_append "$files"):before")
    env "${kill_env[@]}" "$cli" -x -y "$dir" number --start 1 --order natural >/dev/null 2>&1 || true
    recover_last
    recover_last
    report "rotation of $files in two passes, the second killed: $killed" "$(left 1 "$files")" 2
  done
done
echo "failures: $failures"
[ "$failures" -eq 0 ]
