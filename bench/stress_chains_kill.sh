#!/usr/bin/env bash
# A pass with --chains over 20,000 files whose renames form a chain, 2,500
# swaps and a ring of 10,000 (Number from 2 in the order of the files' dates):
#   1 -> 2 -> ... -> 5000 -> 20001, 5001 <-> 5002 ..., 10001 -> 10002 -> ... -> 20000 -> 10001
# killed with SIGKILL at a random rename of its plan (VELTRANE_TEST_KILL_RENAME=N),
# then recover --last, in TRIALS trials (10 by default). Every file must be back
# under its own name with its contents, no temporary name of a ring left: 0 left.
#   bench/stress_chains_kill.sh BUILD_FOLDER [TRIALS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
trials=${2:-10}
. "$(dirname "$0")/stress_work.sh"
mkdir -p "$dir"
files=20000
# Each file holds its own number; its date puts it where Number gives it its new name.
perl -e '
  my ($dir, $n) = @ARGV;
  sub target { my $k = shift;
    return $k + 1 if $k < 5000; return 20001 if $k == 5000;
    return $k % 2 ? $k + 1 : $k - 1 if $k <= 10000;
    return $k == 20000 ? 10001 : $k + 1; }
  for my $k (1 .. $n) {
    open(my $f, ">", "$dir/$k.txt") or die; print $f "$k\n"; close $f;
    my $t = 1000000000 + target($k); utime($t, $t, "$dir/$k.txt") or die;
  }' "$dir" "$files"
steps=$((5000 + 2500 * 3 + 10001))

left() {  # files whose name is not what they hold, missing ones, and names that should not be there
  perl -e '
    my ($dir, $n) = @ARGV; my $left = 0; my %seen;
    for my $k (1 .. $n) {
      if (open(my $f, "<", "$dir/$k.txt")) { my $c = <$f>; chomp $c; $left++ if $c ne $k; } else { $left++; }
    }
    opendir(my $d, $dir) or die; my $all = grep { !/^\.\.?$/ } readdir($d);
    $left += $all - $n if $all > $n; print "$left\n";' "$dir" "$files"
}
temps() { find "$dir" -maxdepth 1 -name '.vt-*' | wc -l; }

failures=0
for trial in $(seq 1 "$trials"); do
  rm -rf "$XDG_STATE_HOME"
  kill_at=$(( (RANDOM * 32768 + RANDOM) % steps + 1 ))
  start=$(date +%s.%N)
  # In a subshell of its own, which says "Killed" where no one reads it.
  (VELTRANE_TEST_KILL_RENAME=$kill_at "$cli" -x -y --chains --order modified -f tsv "$dir" number --start 2 \
    >"$work/pass.out" 2>"$work/pass.err") 2>/dev/null && status=0 || status=$?
  renamed_rows=$(wc -l <"$work/pass.out")
  mid_temps=$(temps)
  "$cli" recover --last -f tsv >"$work/recover.out" 2>"$work/recover.err" && rstatus=0 || rstatus=$?
  end=$(date +%s.%N)
  lost=$(left)
  left_temps=$(temps)
  verdict=ok
  if [ "$status" -ne 137 ] || [ "$rstatus" -ne 0 ] || [ "$lost" -ne 0 ] || [ "$left_temps" -ne 0 ]; then
    verdict=FAILED
    failures=$((failures + 1))
    tail -3 "$work/recover.err" >&2
  fi
  printf 'trial %d: killed at rename %d of %d (exit %d, %d rows out, %d ring names then), recover exit %d, %d rows back; files left %d, temporary names left %d, %.1f s: %s\n' \
    "$trial" "$kill_at" "$steps" "$status" "$renamed_rows" "$mid_temps" "$rstatus" "$(wc -l <"$work/recover.out")" \
    "$lost" "$left_temps" "$(awk "BEGIN { print $end - $start }")" "$verdict"
done
echo "failures: $failures"
[ "$failures" -eq 0 ]
