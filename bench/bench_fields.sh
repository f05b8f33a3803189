#!/usr/bin/env bash
# Fields and orders, timed on a folder of 10,000 small JPEGs on tmpfs (each with a date
# taken and a camera make, named IMG_1.JPG to IMG_10000.JPG):
#   plain      veltrane-cli FOLDER number                          (a plain Simulate)
#   taken      veltrane-cli FOLDER insert "{taken} " --fields      (a Simulate reading every date taken)
#   exiftool   exiftool -q -DateTimeOriginal FOLDER                (when installed: libimage-exiftool-perl)
#   natural    veltrane-cli FOLDER number --order natural
#   modified   veltrane-cli FOLDER number --order modified
#   by-taken   veltrane-cli FOLDER number --order taken            (reads every date taken to sort)
#   field      veltrane-cli FOLDER number --base "{taken} " --fields                (by name, a field)
#   field-taken veltrane-cli FOLDER number --base "{taken} " --fields --order taken (the same read, sorted)
# then the system calls per file of the orders (strace -c; robust where the times are noisy:
# an order by date or size makes its one look at each file in place of the listing's),
# and the peak memory of the field Simulate at 10,000 and 100,000 files (flat per file).
# Targets: taken at most 4 x plain and at least 10 x faster than exiftool; natural and
# modified at most 1.1 x plain. Numbering by date taken reads every header before the first
# number, as a date-taken field does: field-taken is set against field, which reads them too.
#   bench/bench_fields.sh BUILD_FOLDER
# VELTRANE_BENCH_PHOTOS and VELTRANE_BENCH_RUNS change the sizes; VELTRANE_BENCH_LARGE=0
# leaves out the 100,000-file memory check; VELTRANE_BENCH_BUSY=1 times everything beside one
# busy process per core (a machine that is not idle).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
photos=${VELTRANE_BENCH_PHOTOS:-10000}
runs=${VELTRANE_BENCH_RUNS:-10}
large=${VELTRANE_BENCH_LARGE:-1}
busy=${VELTRANE_BENCH_BUSY:-0}
cli=$build/src/cli/veltrane-cli
make_photos=$build/bench/bench_make_photos
for program in "$cli" "$make_photos"; do
  [ -x "$program" ] || { echo "missing $program: build veltrane-cli and bench_make_photos" >&2; exit 1; }
done
for tool in hyperfine /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing $tool (make deps-bench installs it)" >&2; exit 1; }
done

work=$(mktemp -d)
dir=/dev/shm/veltrane-fields-$$
busy_pids=()
stop_busy() { [ ${#busy_pids[@]} -eq 0 ] || kill "${busy_pids[@]}" 2>/dev/null || true; }
trap 'stop_busy; rm -rf "$work" "$dir"' EXIT
export XDG_STATE_HOME=$work/state
mkdir -p "$dir"
"$make_photos" "$dir" "$photos"

commands=(
  -n plain "$cli -f tsv $dir number"
  -n taken "$cli -f tsv $dir insert '{taken} ' --fields"
  -n natural "$cli -f tsv $dir number --order natural"
  -n modified "$cli -f tsv $dir number --order modified"
  -n by-taken "$cli -f tsv $dir number --order taken"
  -n field "$cli -f tsv $dir number --base '{taken} ' --fields"
  -n field-taken "$cli -f tsv $dir number --base '{taken} ' --fields --order taken"
)
have_exiftool=0
if command -v exiftool >/dev/null; then
  have_exiftool=1
  commands+=(-n exiftool "exiftool -q -DateTimeOriginal $dir")
fi
if [ "$busy" = 1 ]; then
  for _ in $(seq "$(nproc)"); do
    sh -c 'while :; do :; done' &
    busy_pids+=($!)
  done
fi
hyperfine -N --style basic --warmup 2 --runs "$runs" --output=null --export-csv "$work/times.csv" "${commands[@]}" \
  >"$work/hyperfine.log" 2>&1 || { cat "$work/hyperfine.log" >&2; exit 1; }

figures() { awk -F, -v name="$2" '$1 == name { printf "%.4f %.4f\n", $2, $5 + $6 }' "$1"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
read -r plain plain_cpu < <(figures "$work/times.csv" plain)
stop_busy
beside=""
[ "$busy" = 1 ] && beside=", beside one busy process per core"
echo "$photos JPEGs on tmpfs, mean of $runs runs$beside, seconds wall-clock (CPU):"
printf '  %-11s %s (%s)\n' plain "$plain" "$plain_cpu"
for name in taken natural modified by-taken field; do
  read -r wall cpu < <(figures "$work/times.csv" "$name")
  printf '  %-11s %s (%s)  %sx plain (CPU %sx)\n' "$name" "$wall" "$cpu" "$(ratio "$wall" "$plain")" \
    "$(ratio "$cpu" "$plain_cpu")"
done
read -r field field_cpu < <(figures "$work/times.csv" field)
read -r wall cpu < <(figures "$work/times.csv" field-taken)
printf '  %-11s %s (%s)  %sx field (CPU %sx)\n' field-taken "$wall" "$cpu" "$(ratio "$wall" "$field")" \
  "$(ratio "$cpu" "$field_cpu")"
if [ "$have_exiftool" = 1 ]; then
  read -r taken taken_cpu < <(figures "$work/times.csv" taken)
  read -r exif exif_cpu < <(figures "$work/times.csv" exiftool)
  printf '  %-11s %s (%s)  %sx slower than taken (CPU %sx)\n' exiftool "$exif" "$exif_cpu" \
    "$(ratio "$exif" "$taken")" "$(ratio "$exif_cpu" "$taken_cpu")"
else
  echo "  exiftool: not installed (apt-get install libimage-exiftool-perl), no comparison"
fi

calls() {  # arguments after the folder -> system calls per file of that Simulate
  "$(command -v strace)" -f -c -o "$work/strace.txt" "$cli" -f tsv "$dir" "$@" >/dev/null
  awk -v n="$photos" '$NF == "total" { printf "%.2f", $4 / n }' "$work/strace.txt"
}
if command -v strace >/dev/null; then
  echo "system calls per file (strace -f -c):"
  printf '  %-11s %s\n' plain "$(calls number)" modified "$(calls number --order modified)" \
    by-taken "$(calls number --order taken)" field "$(calls number --base '{taken} ' --fields)"
else
  echo "  system calls: strace not installed (make deps-bench installs it)"
fi

peak() {  # folder -> peak resident KiB of the field Simulate
  /usr/bin/time -f %M "$cli" -f tsv "$1" insert '{taken} ' --fields 2>&1 >/dev/null | tail -1
}
echo "peak memory of the field Simulate:"
small=$(peak "$dir")
echo "  $photos files: $small KiB"
if [ "$large" = 1 ]; then
  rm -rf "$dir" && mkdir -p "$dir"
  "$make_photos" "$dir" $((photos * 10))
  big=$(peak "$dir")
  echo "  $((photos * 10)) files: $big KiB ($(awk -v a="$small" -v b="$big" -v n="$photos" \
    'BEGIN { printf "%.0f", (b - a) * 1024 / (9 * n) }') bytes per added file)"
fi
