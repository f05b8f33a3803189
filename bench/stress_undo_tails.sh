#!/usr/bin/env bash
# Passes whose journal ends badly, then `veltrane-cli recover --last` twice: the
# first undoes the newer pass, the second must take the next older one (the
# older pass's files come back), 4 of 4:
#   torn tail   the newer pass killed in the middle of a write (VELTRANE_TEST_KILL_APPEND=N:torn)
#   disk full   its journal on a full tmpfs (needs root to mount one; skipped otherwise)
#   ulimit -f   its journal cut by the file size limit
#   refused row one of its files made immutable (or moved aside) before the recover, which leaves it
#   bench/stress_undo_tails.sh BUILD_FOLDER
# VELTRANE_STRESS_FILES (1,000) changes the size; VELTRANE_STRESS_SYNC=1 runs the newer
# pass with --sync (its journal written ahead on its own thread).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
files=${VELTRANE_STRESS_FILES:-1000}
cli=$build/src/cli/veltrane-cli
[ -x "$cli" ] || { echo "missing $cli: build the target veltrane-cli" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/veltrane-stress-XXXXXX")
full=""
cleanup() {
  [ -n "$full" ] && umount "$full" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
dir=$work/files

fresh() {
  rm -rf "$dir" "$work/state" && mkdir -p "$dir" "$work/state"
  (cd "$dir" && seq -f 'file_%05g.txt' 1 "$files" | xargs touch)
  echo first >"$dir/file_00001.txt"
  export XDG_STATE_HOME=$work/state
  # The older pass, which ends as it should.
  "$cli" -x "$dir" insert old- --at begin >/dev/null 2>&1
}
newer_options=(-x)
[ "${VELTRANE_STRESS_SYNC:-0}" = 0 ] || newer_options+=(--sync)
newer_pass() { "$cli" "${newer_options[@]}" "$dir" insert new- --at begin >/dev/null 2>&1 || true; }
older_back() { find "$dir" -name 'file_*' | wc -l; }

failures=0
trial() {  # label
  local first second back
  "$cli" recover --last -f tsv >/dev/null 2>"$work/first.err" || true
  "$cli" recover --last -f tsv >/dev/null 2>"$work/second.err" || true
  back=$(older_back)
  local verdict=ok
  if [ "$back" -ne "$files" ] || [ "$(cat "$dir/file_00001.txt" 2>/dev/null)" != first ]; then
    verdict=FAILED
    failures=$((failures + 1))
  fi
  echo "$1: after two recover --last, $back of $files back under their first names: $verdict"
  [ "$verdict" = ok ] || sed 's/^/    /' "$work/first.err" "$work/second.err"
}

fresh
VELTRANE_TEST_KILL_APPEND=3:torn newer_pass
trial "torn tail"

if [ "$(id -u)" = 0 ]; then
  fresh
  full=$work/full
  mkdir -p "$full"
  mount -t tmpfs -o size=64k tmpfs "$full"
  mkdir -p "$full/state/veltrane"
  cp -a "$work/state/veltrane/." "$full/state/veltrane/" 2>/dev/null || true
  head -c 48k /dev/zero >"$full/filler" 2>/dev/null || true
  XDG_STATE_HOME=$full/state newer_pass
  rm -f "$full/filler"
  cp -a "$full/state/veltrane/." "$work/state/veltrane/"
  umount "$full"
  full=""
  trial "disk full"
else
  echo "disk full: skipped (mounting a small tmpfs needs root)"
fi

fresh
(ulimit -f 8; newer_pass)
trial "ulimit -f"

fresh
newer_pass
# Refused: made immutable where the volume lets it (a mode of 0444 refuses
# nothing: a read-only file is renamed as mv renames it); elsewhere moved
# aside, so that the row finds its file gone.
held="$dir/new-old-file_00002.txt"
if chattr +i "$held" 2>/dev/null; then
  "$cli" recover --last -f tsv >/dev/null 2>"$work/first.err" || true
  chattr -i "$held"
else
  mv "$held" "$work/aside"
  "$cli" recover --last -f tsv >/dev/null 2>"$work/first.err" || true
  mv "$work/aside" "$held"
fi
"$cli" recover --last -f tsv >/dev/null 2>"$work/second.err" || true
back=$(find "$dir" -name 'file_*' | wc -l)
# The refused file stays under the newer pass's name; every other one is back.
if [ "$back" -eq $((files - 1)) ] && grep -q 'passing over' "$work/second.err"; then
  echo "refused row: the second recover --last passed over the newer pass and undid the older: ok"
else
  echo "refused row: $back of $((files - 1)) back: FAILED"
  sed 's/^/    /' "$work/first.err" "$work/second.err"
  failures=$((failures + 1))
fi
echo "failures: $failures"
[ "$failures" -eq 0 ]
