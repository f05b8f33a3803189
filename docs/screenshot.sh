#!/usr/bin/env bash
# Renders the main window and the About box under a virtual X server into
# docs/main-window.png and docs/about-box.png.  Usage: docs/screenshot.sh <build folder>
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
: > "$work/Photos/notes.txt"
cd "$work/Photos"
# The real X platform with the installed fonts, not the offscreen one of the tests.
export QT_QPA_PLATFORM=xcb
export LC_ALL=C.UTF-8
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$shot" "$here/main-window.png" "$here/about-box.png"
echo "wrote $here/main-window.png and $here/about-box.png"
