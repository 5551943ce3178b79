#!/usr/bin/env bash
# Benchmark of a whole export (not a test): lumigrab.exe started with the
# address of a demo-shop product with 60 pictures of 100 KB, against the
# platform floor (bare sequential WinINet GETs of the same 61 addresses) and
# wget with a new connection per address, in two modes: raw loopback, and
# realistic (each answer waits 30 ms and goes out at about 2 MB/s).
# The export's time includes its process start under Wine; it runs without
# a packer beside it, so it ends right after writing its record.
#
# Usage: scripts/bench-export.sh [BUILD-DIR] [ROUNDS]
#   BUILD-DIR  a built cross build (default build/windows64)
#   ROUNDS     rounds per mode (default 2)
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$source_dir/build/windows64}" && pwd)
rounds=${2:-2}
count=60

loader=/usr/lib/wine/wine64
grep -q 'CMAKE_SIZEOF_VOID_P:INTERNAL=4' "$build/CMakeCache.txt" && loader=/usr/lib/wine/wine
prefix=$build/wineprefix
work=$build/bench-export
run_windows() { "$source_dir/cmake/wine-run.sh" "$prefix" "$loader" "$@"; }
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY

rm -rf "$work"
mkdir -p "$work/install/img"
cp "$build/app/lumigrab.exe" "$work/install/"
cp "$build/app/img/stickers.bmp" "$work/install/img/"

shop_pid=
stop_shop() {
  [ -n "$shop_pid" ] && curl -s "http://127.0.0.1:$(cat "$work/port")/stop" >/dev/null || true
  shop_pid=
}
trap 'stop_shop; "$source_dir/cmake/wine-stop.sh" "$prefix"' EXIT

seconds() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(seconds)" 'BEGIN { printf "%.2f s", b - a }'; }

# Warm the prefix so no measurement pays for its start.
run_windows cmd.exe /c exit 0 >/dev/null 2>&1

for mode in raw realistic; do
  flags=()
  [ "$mode" = realistic ] && flags=(--realistic)
  python3 "$source_dir/tests/shop/shop_server.py" --daemon --bench "$count" \
    --port-file "$work/port" "${flags[@]}"
  shop_pid=1
  base=http://127.0.0.1:$(cat "$work/port")
  { echo "$base/item/bench.htm"
    for i in $(seq 1 "$count"); do echo "$base/img/bench-$i.jpg"; done
  } > "$work/urls.txt"
  echo "== $mode: the page and $count pictures of 100 KB"
  for round in $(seq 1 "$rounds"); do
    floor=$(run_windows "$build/tests/net/wininet_floor.exe" "Z:$work/urls.txt" 1024)
    printf '  floor, 1024-byte reads   %s\n' "$floor"
    start=$(seconds)
    wget --no-http-keep-alive --no-proxy -nv -O /dev/null -i "$work/urls.txt" 2>/dev/null
    printf '  wget                     %s\n' "$(elapsed "$start")"
    rm -rf "$work/install/Output"
    start=$(seconds)
    /usr/bin/time -f '%M' -o "$work/rss" \
      "$source_dir/cmake/wine-run.sh" "$prefix" "$loader" "$work/install/lumigrab.exe" \
      "$base/item/bench.htm" >/dev/null 2>&1
    took=$(elapsed "$start")
    files=$(find "$work/install/Output" -type f | wc -l)
    printf '  lumigrab.exe export      %s (%s files, peak %s KB resident)\n' \
      "$took" "$files" "$(tail -1 "$work/rss")"
    # The fixed cost: the same program on a page without pictures.
    start=$(seconds)
    run_windows "$work/install/lumigrab.exe" "$base/item/empty.htm" >/dev/null 2>&1
    printf '  lumigrab.exe, no pictures %s\n' "$(elapsed "$start")"
  done
  stop_shop
done
