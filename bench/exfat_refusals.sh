#!/usr/bin/env bash
# Names an exFAT volume refuses, foreseen by a simulation: on a fresh exFAT
# image mounted through FUSE (exfat-fuse), files whose new names hold
# " * : < > ? \ | or a control character, end with a dot or a space, or are
# too long, next to files whose new names are fine. The simulation's rows are
# compared with what the kernel answers when each file is moved to its new
# name (mv, then back): prints how many of the volume's refusals the
# simulation foretold, and how many it foretold that the volume would have
# taken. Needs root, losetup, mkfs.exfat and mount.exfat-fuse (exfatprogs,
# exfat-fuse); says so and exits 0 where the machine cannot mount.
#   bench/exfat_refusals.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
cli="$build/src/cli/veltrane-cli"
. "$(dirname "$0")/exfat_mount.sh"
exfat_mount 64M
export XDG_STATE_HOME="$work/state"
long=$(printf 'L%.0s' $(seq 1 248))

# One folder per operation: its files, then the operation's arguments.
declare -A ops=(
  [colon]="replace --regex -- (\\d+)-(\\d+) \$1:\$2"
  [query]="replace --regex -- (\\d+)-(\\d+) \$1?\$2"
  [star]="replace --regex -- (\\d+)-(\\d+) \$1*\$2"
  [angles]="replace --regex -- (\\d+)-(\\d+) <\$1>\$2"
  [pipe]="replace --regex -- (\\d+)-(\\d+) \$1|\$2"
  [quote]="replace --regex -- (\\d+)-(\\d+) \$1\"\$2"
  [backslash]="replace --regex -- (\\d+)-(\\d+) \$1\\\\\$2"
  [fine]="replace --regex -- (\\d+)-(\\d+) \$1_\$2"
  [dot]="replace --regex --extension -- \\.old\$ ."
  [space]="remove v"
  [long]="insert 12345678"
)
for op in "${!ops[@]}"; do
  mkdir "$mnt/$op"
  for i in $(seq 1 20); do
    case $op in
      dot) : >"$mnt/$op/file$i.old" ;;
      space) : >"$mnt/$op/note $i v" ;;
      long) : >"$mnt/$op/$long$((i + 10))" ;;
      *) : >"$mnt/$op/shot $i-$((i + 1)).jpg" ;;
    esac
  done
done
# A tab is brought in by the regular expression's replacement.
mkdir "$mnt/control"
for i in $(seq 1 20); do : >"$mnt/control/shot $i-$((i + 1)).jpg"; done

predicted=0 refused=0 foretold=0 wrongly=0 rows=0
judge() {  # folder, then the operation's arguments
  local folder=$1
  shift
  local before_refused=$refused before_foretold=$foretold before_wrongly=$wrongly
  # shellcheck disable=SC2068
  "$cli" -y -f tsv "$folder" "$@" >"$work/sim.tsv" 2>/dev/null || true
  while IFS=$'\t' read -r old new _ status; do
    rows=$((rows + 1))
    local said=0 kernel=0
    if [ "$status" = "Error" ]; then said=1; fi
    if mv -T -n -- "$folder/$old" "$folder/$new" 2>/dev/null && [ -e "$folder/$new" ] && [ ! -e "$folder/$old" ]; then
      mv -T -n -- "$folder/$new" "$folder/$old"
    else
      kernel=1
    fi
    predicted=$((predicted + said))
    refused=$((refused + kernel))
    if [ $said = 1 ] && [ $kernel = 1 ]; then foretold=$((foretold + 1)); fi
    if [ $said = 1 ] && [ $kernel = 0 ]; then wrongly=$((wrongly + 1)); fi
  done <"$work/sim.tsv"
  printf '  %-10s refused %2d, foretold %2d, foretold but taken %2d\n' "$(basename "$folder")" \
    $((refused - before_refused)) $((foretold - before_foretold)) $((wrongly - before_wrongly))
}
for op in "${!ops[@]}"; do
  # shellcheck disable=SC2086
  judge "$mnt/$op" ${ops[$op]}
done
judge "$mnt/control" replace --regex -- '(\d+)-(\d+)' $'$1\t$2'
echo "exfat-fuse: $rows rows; the volume refused $refused, the simulation foretold $foretold of them" \
  "($((refused > 0 ? 100 * foretold / refused : 100))%), and $wrongly it would have taken"
[ "$foretold" -eq "$refused" ]
