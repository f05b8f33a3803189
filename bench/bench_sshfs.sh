#!/usr/bin/env bash
# Renames over sshfs, this machine mounting a folder of its own: sshd on
# 127.0.0.1 with its own configuration, host key and port in a temporary
# folder, key-based login as the running user (root here). FILES files
# ("file_000001.txt" -> "item_000001.txt") renamed by veltrane-cli -x and by
# mmv, the folder made anew on the server side and the volume mounted anew
# before every run, so that its caches start cold:
#   default mount          every row "Ok", and the pass undone by recover --last;
#                          target: veltrane-cli at most 1.2 x mmv
#   -o disable_hardlink    the same; target: at most 1.5 x mmv
#   targets made on the server side during the pass: 0 overwritten over RACES runs
# and, for each mount, the calls per file that reach the volume (strace on the
# client, counting the calls whose arguments lead onto the mount). The timed
# runs go in rounds, each round veltrane-cli (the way its renames go timed on
# the pass's own renames), veltrane-cli with VELTRANE_RENAMES=one-by-one and
# mmv in turn, so that a machine shared with others slows all three alike:
# the medians and the median of each round's ratio are shown. Skips with a
# message where sshd, sshfs or FUSE are missing or sshd cannot be started.
#   bench/bench_sshfs.sh BUILD_FOLDER
# VELTRANE_BENCH_SSHFS_FILES (5000), VELTRANE_BENCH_SSHFS_RUNS (5, rounds per
# mount) and VELTRANE_BENCH_SSHFS_RACES (5) change the sizes.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
files=${VELTRANE_BENCH_SSHFS_FILES:-5000}
runs=${VELTRANE_BENCH_SSHFS_RUNS:-5}
races=${VELTRANE_BENCH_SSHFS_RACES:-5}
cli=$build/src/cli/veltrane-cli
[ -x "$cli" ] || { echo "missing $cli: build the target veltrane-cli" >&2; exit 1; }
for tool in mmv strace; do
  command -v "$tool" >/dev/null || { echo "missing $tool (make deps-bench installs it)" >&2; exit 1; }
done
sshd=$(command -v sshd || echo /usr/sbin/sshd)
for tool in "$sshd" sshfs ssh-keygen fusermount3; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing (openssh-server, sshfs)"; exit 0; }
done
[ -c /dev/fuse ] && [ -r /dev/fuse ] || { echo "skipped: /dev/fuse is missing or cannot be opened"; exit 0; }

work=$(mktemp -d)
mnt=$work/mnt
srv=$work/server
sshd_pid=""
cleanup() {
  mountpoint -q "$mnt" 2>/dev/null && fusermount3 -u "$mnt"
  [ -n "$sshd_pid" ] && kill "$sshd_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$mnt" "$srv" "$work/state"
export XDG_STATE_HOME=$work/state

# The server: its own host key, port and authorised key; nothing of the
# machine's own sshd configuration is read.
ssh-keygen -q -t ed25519 -N '' -f "$work/host_key"
ssh-keygen -q -t ed25519 -N '' -f "$work/user_key"
cp "$work/user_key.pub" "$work/authorized_keys"
chmod 600 "$work/authorized_keys"
[ "$(id -u)" = 0 ] && mkdir -p /run/sshd  # its privilege separation folder
port=""
for try in 1 2 3 4 5; do
  candidate=$((20000 + (RANDOM % 20000)))
  cat >"$work/sshd_config" <<EOF
ListenAddress 127.0.0.1
Port $candidate
HostKey $work/host_key
PidFile $work/sshd.pid
AuthorizedKeysFile $work/authorized_keys
PermitRootLogin prohibit-password
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
StrictModes no
Subsystem sftp internal-sftp
EOF
  rm -f "$work/sshd.pid"
  if "$sshd" -f "$work/sshd_config" -E "$work/sshd.log" 2>>"$work/sshd.log"; then
    for _ in $(seq 50); do [ -s "$work/sshd.pid" ] && break; sleep 0.1; done
    if [ -s "$work/sshd.pid" ]; then
      sshd_pid=$(cat "$work/sshd.pid")
      port=$candidate
      break
    fi
  fi
done
[ -n "$port" ] || { echo "skipped: sshd could not be started: $(tail -1 "$work/sshd.log")"; exit 0; }
user=$(id -un)
ssh_options="IdentityFile=$work/user_key,StrictHostKeyChecking=no,UserKnownHostsFile=/dev/null,BatchMode=yes,LogLevel=ERROR"

# A fresh folder on the server side and the volume mounted anew.
cat >"$work/fresh" <<EOF
#!/bin/sh
# \$1: extra sshfs options, or nothing
mountpoint -q "$mnt" && fusermount3 -u "$mnt"
rm -rf "$srv/files" && mkdir -p "$srv/files" && cd "$srv/files" && seq -f 'file_%06g.txt' 1 $files | xargs touch
exec sshfs -p $port -o "$ssh_options\${1:+,\$1}" "$user@127.0.0.1:$srv" "$mnt"
EOF
chmod +x "$work/fresh"
"$work/fresh" "" 2>"$work/mount.err" || { echo "skipped: sshfs cannot mount: $(head -1 "$work/mount.err")"; exit 0; }

median() { sort -g | awk '{ v[NR] = $1 } END { printf "%.3f\n", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
# Wall-clock seconds of a command, its output thrown away.
wall() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 || true
  end=$(date +%s%N)
  awk -v ns=$((end - start)) 'BEGIN { printf "%.3f\n", ns / 1e9 }'
}
count_rows() { grep -c $'\t'"$1"'$' "$2" || true; }

# Every row "Ok", every file renamed, then every one back through recover --last.
check_pass() {  # label options
  "$work/fresh" "$2"
  "$cli" -x -f tsv "$mnt/files" replace file item >"$work/rows.tsv" 2>"$work/rows.err" || true
  local ok renamed
  ok=$(count_rows Ok "$work/rows.tsv")
  renamed=$(find "$srv/files" -name 'item_*' | wc -l)
  "$cli" -f tsv recover --last >"$work/recover.tsv" 2>"$work/recover.err" || true
  local back recovered
  back=$(count_rows Ok "$work/recover.tsv")
  recovered=$(find "$srv/files" -name 'file_*' | wc -l)
  echo "$1: pass $ok of $files rows \"Ok\", $renamed renamed on the server; recover --last $back rows \"Ok\"," \
    "$recovered of $files back under their names"
  [ "$ok" -eq "$files" ] && [ "$recovered" -eq "$files" ] || {
    echo "$1: rows not \"Ok\":" >&2
    grep -v $'\tOk$' "$work/rows.tsv" | head -3 >&2
    cat "$work/rows.err" >&2
    status=1
  }
}

# The calls whose arguments lead onto the mount (strace -y shows a handle's path).
count_calls() {  # label options
  "$work/fresh" "$2"
  strace -f -y -qq -o "$work/trace" -e trace=%file,%desc "$cli" -x -f tsv "$mnt/files" replace file item >/dev/null
  # (a write's data may hold the path too: for reads and writes only the handle counts;
  # fcntl stays in this machine's kernel, and the listing is per folder)
  awk -v mnt="$mnt" -v n="$files" -v label="$1" '
    {
      sub(/^[0-9]+ +/, ""); name = $0; sub(/\(.*/, "", name)
      first = substr($0, length(name) + 2); sub(/,.*/, "", first)
      if (name ~ /^(read|write|pread64|pwrite64|readv|writev)$/ ? index(first, mnt) : index($0, mnt))
        if (name !~ /^(getdents64|fcntl|lseek|execve)$/) { count[name]++; total++ }
    }
    END {
      line = ""
      for (c in count) line = line sprintf(" %s %.2f", c, count[c] / n)
      printf "%s: %.2f calls per file reach the volume:%s (target <= 4)\n", label, total / n, line
    }' "$work/trace"
}

time_mount() {  # label options target
  local label=$1 options=$2 target=$3
  echo "-- $label: $files files, $runs rounds, the folder made anew and the volume mounted anew before each run"
  : >"$work/$label.times"
  for round in $(seq "$runs"); do
    "$work/fresh" "$options"
    local cli_s one_s mmv_s
    cli_s=$(wall "$cli" -x "$mnt/files" replace file item)
    "$work/fresh" "$options"
    one_s=$(wall env VELTRANE_RENAMES=one-by-one "$cli" -x "$mnt/files" replace file item)
    "$work/fresh" "$options"
    mmv_s=$(wall mmv -r "$mnt/files/file_*" 'item_#1')
    echo "$cli_s $one_s $mmv_s" >>"$work/$label.times"
    echo "  round $round: cli ${cli_s}s  one by one ${one_s}s  mmv ${mmv_s}s  (load $(cut -d' ' -f1 /proc/loadavg))"
  done
  local cli_wall one_wall mmv_wall cli_ratio one_ratio
  cli_wall=$(awk '{ print $1 }' "$work/$label.times" | median)
  one_wall=$(awk '{ print $2 }' "$work/$label.times" | median)
  mmv_wall=$(awk '{ print $3 }' "$work/$label.times" | median)
  cli_ratio=$(awk '{ print $1 / $3 }' "$work/$label.times" | median)
  one_ratio=$(awk '{ print $2 / $3 }' "$work/$label.times" | median)
  echo "$label: medians cli ${cli_wall}s  one by one ${one_wall}s  mmv ${mmv_wall}s;" \
    "median of the rounds' ratios: cli/mmv $cli_ratio (target <= $target), one by one/mmv $one_ratio"
  check_pass "$label" "$options"
  count_calls "$label" "$options"
}

# Another process on the server creates targets of the pass while it runs,
# in random order; every one must keep what it was created with.
race() {  # run
  "$work/fresh" ""
  rm -f "$work/stop" "$work/created"
  mkfifo "$work/pace" 2>/dev/null || true
  (
    exec 9<>"$work/pace"
    set -C
    while [ ! -e "$work/stop" ]; do
      printf -v name 'item_%06d.txt' $(((RANDOM * 32768 + RANDOM) % files + 1))
      if { echo "server's $name" >"$srv/files/$name"; } 2>/dev/null; then echo "$name" >>"$work/created"; fi
      read -r -t 0.003 <&9 || true
    done
  ) &
  local creator=$!
  "$cli" -x -f tsv "$mnt/files" replace file item >"$work/race.tsv" 2>/dev/null || true
  touch "$work/stop"
  wait "$creator"
  local created=0 overwritten=0 name
  while read -r name; do
    created=$((created + 1))
    [ "$(cat "$srv/files/$name" 2>/dev/null)" = "server's $name" ] || overwritten=$((overwritten + 1))
  done <"$work/created"
  local entries
  entries=$(find "$srv/files" -type f | wc -l)
  echo "race run $1: $created targets made on the server during the pass, $overwritten overwritten," \
    "$(count_rows Ok "$work/race.tsv") rows \"Ok\", $entries files on the server (of $((files + created)))"
  [ "$overwritten" -eq 0 ] && [ "$entries" -eq $((files + created)) ] || status=1
}

status=0
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores; sshd on 127.0.0.1:$port"
time_mount default "" 1.2
time_mount disable_hardlink disable_hardlink 1.5
echo "-- targets made on the server side during the pass (default mount), $races runs"
for run in $(seq "$races"); do race "$run"; done
exit $status
