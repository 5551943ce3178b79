#!/usr/bin/env bash
# Takes the README's picture of the main window: starts the built
# lumigrab.exe in the test prefix's X server, waits for its window and
# captures it with ImageMagick's import.
# Usage: scripts/screenshot.sh [BUILD-DIR] [OUTPUT-PNG]
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$source_dir/build/windows64}" && pwd)
out=${2:-$source_dir/docs/lumigrab-window.png}

loader=/usr/lib/wine/wine64
grep -q 'CMAKE_SIZEOF_VOID_P:INTERNAL=4' "$build/CMakeCache.txt" && loader=/usr/lib/wine/wine
prefix=$build/wineprefix
run_windows() { "$source_dir/cmake/wine-run.sh" "$prefix" "$loader" "$@"; }
unset DISPLAY  # the prefix's own X server, 1920 x 1080

run_windows cmd.exe /c exit 0 >/dev/null 2>&1
run_windows "$build/app/lumigrab.exe" </dev/null >/dev/null 2>&1 &
found=$(run_windows "$build/tests/e2e/win_driver.exe" find Lumigrab 30000)
read -r _ left top width height _ _ <<<"$found"
sleep 1  # let it paint
DISPLAY=:$(cut -d' ' -f1 "$prefix.xvfb") import -window root \
  -crop "${width}x${height}+${left}+${top}" +repage "$out"
run_windows "$build/tests/e2e/win_driver.exe" close Lumigrab
wait
echo "screenshot: $out"
