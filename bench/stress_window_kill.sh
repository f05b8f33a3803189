#!/usr/bin/env bash
# The window's journal under fire: the window (offscreen) renames a folder of
# many files and is killed with SIGKILL at a random moment of the pass, TRIALS
# times. After each kill every renamed file must be in the journal, and recovery
# must bring every one back (0 left renamed, contents intact): odd trials through
# `veltrane-cli recover --last`, even ones through the window's start-up question
# ("&Yes", then Recover).
#   bench/stress_window_kill.sh BUILD_FOLDER
# VELTRANE_STRESS_FILES (100,000) and TRIALS (10) change the sizes. With
# VELTRANE_STRESS_READONLY=N every Nth file is read-only (immutable, chattr +i:
# needs root and a volume with the flag): the pass finds it so only just
# before its rename and withdraws that intent, and the journal must still hold
# every rename. The window is driven through its test seam
# VELTRANE_TEST_DRIVE (src/app/TestDrive.h).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
files=${VELTRANE_STRESS_FILES:-100000}
trials=${TRIALS:-10}
readonly_every=${VELTRANE_STRESS_READONLY:-0}
window=$build/src/app/veltrane
cli=$build/src/cli/veltrane-cli
for program in "$window" "$cli"; do
  [ -x "$program" ] || { echo "missing $program: build the targets veltrane and veltrane-cli" >&2; exit 1; }
done

base=/dev/shm
[ -d "$base" ] || base=${TMPDIR:-/tmp}
work=$(mktemp -d "$base/veltrane-window-stress-XXXXXX")
# Immutable files cannot be removed until the flag is off again.
unflag() { [ -d "$work/files" ] && chattr -R -i "$work/files" 2>/dev/null; return 0; }
trap 'unflag; rm -rf "$work"' EXIT
export XDG_STATE_HOME=$work/state QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p -m 0700 "$XDG_RUNTIME_DIR"
dir=$work/files

fresh() {
  unflag
  rm -rf "$dir" "$XDG_STATE_HOME" && mkdir -p "$dir" && (cd "$dir" && seq -f 'file_%06g.txt' 1 "$files" | xargs touch)
  # One file with contents, to see that it is the same file that comes back.
  echo first >"$dir/file_000001.txt"
  if [ "$readonly_every" -gt 0 ]; then
    (cd "$dir" && seq -f 'file_%06g.txt' "$readonly_every" "$readonly_every" "$files" | xargs -r chattr +i)
  fi
}

renamed_now() { find "$dir" -name 'item_*' | wc -l; }

# Starts the window's Rename in the background; returns once its rows come in
# (before that the pass mostly reads the folder).
start_rename() {
  : >"$work/window.err"
  VELTRANE_TEST_DRIVE=rename:file:item "$window" "$dir" 2>"$work/window.err" &
  pid=$!
  until grep -q 'rows coming in' "$work/window.err"; do
    kill -0 "$pid" 2>/dev/null || { echo "the window ended before its pass:" >&2; cat "$work/window.err" >&2; exit 1; }
    sleep 0.005
  done
}

# How long the window's pass takes here, so that the moments fall inside it.
fresh
start_rename
wait "$pid"
whole_ms=$(sed -n 's/.*rename ended after \([0-9]*\) ms.*/\1/p' "$work/window.err")
pass_ms=$(sed -n 's/.* \([0-9]*\) ms after its first rows.*/\1/p' "$work/window.err")
echo "the window's pass over $files files: $whole_ms ms, $pass_ms ms of it after its first rows;" \
  "moments drawn from 0 to 85% of those"

failures=0
for trial in $(seq 1 "$trials"); do
  delay_ms=$(( (RANDOM * 32768 + RANDOM) % (pass_ms * 85 / 100 + 1) ))
  # A pass quicker than the measured one may end before the kill: that trial is
  # drawn again with half the delay, so that every trial kills a pass.
  for attempt in 1 2 3 4 5; do
    fresh
    start_rename
    sleep "$(awk -v ms="$delay_ms" 'BEGIN { printf "%.3f", ms / 1e3 }')"
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    grep -q 'rename ended' "$work/window.err" || break
    delay_ms=$((delay_ms / 2))
  done
  renamed=$(renamed_now)

  journal=$(ls -t "$XDG_STATE_HOME"/veltrane/*.vtj 2>/dev/null | head -1 || true)
  in_journal=0
  [ -n "$journal" ] && in_journal=$("$cli" show "$journal" -f tsv 2>/dev/null | awk -F'\t' '$4 == "Ok"' | wc -l)

  if [ $((trial % 2)) -eq 1 ]; then
    how="recover --last"
    "$cli" recover --last -f tsv >"$work/recover.out" 2>"$work/recover.err" || true
    recovered=$(awk -F'\t' '$4 == "Ok"' "$work/recover.out" | wc -l)
  else
    how="start-up question"
    VELTRANE_TEST_DRIVE=recover "$window" 2>"$work/window.err" || true
    recovered=$(( renamed - $(renamed_now) ))
    grep -q 'recover ended' "$work/window.err" || cat "$work/window.err" >&2
  fi
  left=$(renamed_now)
  content=$(cat "$dir/file_000001.txt" 2>/dev/null || echo missing)

  verdict=ok
  if [ "$left" -ne 0 ] || [ "$in_journal" -lt "$renamed" ] || [ "$content" != first ]; then
    verdict=FAILED
    failures=$((failures + 1))
  fi
  echo "SIGKILL $trial at ${delay_ms} ms: renamed $renamed, in the journal $in_journal;" \
    "$how brought back $recovered, left renamed $left: $verdict"
done

echo "failures: $failures"
[ "$failures" -eq 0 ]
