# Sourced by the kill stress scripts, after `build` is set: $cli is the
# command line to try, $work a folder in memory (/dev/shm, else TMPDIR)
# removed on exit, $XDG_STATE_HOME a state folder of its own inside it, so
# that `recover --last` sees only the trials' passes, and $dir the files'
# folder (not made).
cli=$build/src/cli/veltrane-cli
[ -x "$cli" ] || { echo "missing $cli: build the target veltrane-cli" >&2; exit 1; }
base=/dev/shm
[ -d "$base" ] || base=${TMPDIR:-/tmp}
work=$(mktemp -d "$base/veltrane-stress-XXXXXX")
trap 'rm -rf "$work"' EXIT
export XDG_STATE_HOME=$work/state
dir=$work/files
