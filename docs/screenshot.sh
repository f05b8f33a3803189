#!/usr/bin/env bash
# Renders the windows under a virtual X server into docs/: main-window.png,
# about-box.png, search-settings.png, file-list-preview.png and result-table.png (a simulation over a
# small demo folder), and result-table-dark.png and main-window-dark.png with a
# dark palette, and photo-fields.png (photos named by their date taken, when
# bench_make_photos is built). QT_QPA_PLATFORM_SHOT=offscreen renders without an
# X server.  Usage: docs/screenshot.sh <build folder>
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
shot="$build/src/app/veltrane-screenshot"
if [ ! -x "$shot" ]; then
  echo "screenshot.sh: $shot not built (cmake --build $build --target veltrane-screenshot)" >&2
  exit 1
fi
shot=$(cd "$(dirname "$shot")" && pwd)/$(basename "$shot")
# The window opens in the current folder: show a small folder of photos rather
# than whatever folder the script was started from.
work=/tmp/veltrane-demo
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/Photos/Holidays 2025" "$work/Photos/Family"
for n in 0041 0042 0043 0044 0045; do : > "$work/Photos/IMG_$n.JPG"; done
: > "$work/Photos/IMG_0046.MOV"
: > "$work/Photos/img_0047.jpg"
: > "$work/Photos/notes.txt"
# Named as IMG_0044.JPG would be: the preview and the result table mark the clash.
: > "$work/Photos/Rome 2025 - 0044.JPG"
# Photos with a date taken, for the fields' picture.
photos=()
if [ -x "$build/bench/bench_make_photos" ]; then
  mkdir -p "$work/Rome"
  "$build/bench/bench_make_photos" "$work/Rome" 7
  photos=("$work/Rome")
fi
# The user's own choices (the preview switch) do not change the pictures.
export XDG_CONFIG_HOME="$work/config"
cd "$work/Photos"
# The real X platform with the installed fonts, not the offscreen one of the tests.
export QT_QPA_PLATFORM=xcb
export LC_ALL=C.UTF-8
if [ "${QT_QPA_PLATFORM_SHOT:-xcb}" = offscreen ]; then
  QT_QPA_PLATFORM=offscreen "$shot" "$here" "${photos[@]}"
else
  xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$shot" "$here" "${photos[@]}"
fi
echo "wrote main-window.png, about-box.png, search-settings.png, file-list-preview.png, result-table.png," \
  "result-table-dark.png, main-window-dark.png and photo-fields.png in $here"
