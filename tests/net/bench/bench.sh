#!/usr/bin/env bash
# Benchmark of the image reader (not a test): 100 sequential WebRead calls
# for 100 KB images from the loopback test server, against the platform
# floor (bare sequential WinINet GETs, wininet_floor) and wget with a new
# connection per image, in two modes: raw loopback, and realistic (the
# server waits 30 ms before each answer and sends at about 2 MB/s).
#
# Usage: tests/net/bench/bench.sh [BUILD-DIR] [COUNT]
#   BUILD-DIR  a configured and built cross build (default build/windows64)
#   COUNT      images per run (default 100)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../../.." && pwd)
build=$(cd "${1:-$source_dir/build/windows64}" && pwd)
count=${2:-100}
size=102400

loader=/usr/lib/wine/wine64
grep -q 'CMAKE_SIZEOF_VOID_P.*4' "$build/CMakeCache.txt" 2>/dev/null && loader=/usr/lib/wine/wine
prefix=$build/wineprefix
state=$build/tests/net/bench-server
run_windows() { "$source_dir/cmake/wine-run.sh" "$prefix" "$loader" "$@"; }

python3 "$source_dir/tests/net/test_server.py" --state-dir "$state" --daemon --lifetime 900
cleanup() {
  python3 "$source_dir/tests/net/test_server.py" --state-dir "$state" --stop
  "$source_dir/cmake/wine-stop.sh" "$prefix"
}
trap cleanup EXIT
port=$(awk '$1 == "http" {print $2}' "$state/ports.txt")
# wget must not take a proxy from the environment either.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY

# Fresh addresses for every run, so that no client's cache answers.
urls() {  # urls NAME QUERY-SUFFIX
  local file=$state/$1.txt token=$1-$$-$RANDOM
  : > "$file"
  for i in $(seq 1 "$count"); do
    echo "http://127.0.0.1:$port/t/$token/image?size=$size&n=$i$2" >> "$file"
  done
  echo "$file"
}

winpath() { printf 'Z:%s' "$1"; }
seconds() { date +%s.%N; }

# Warm the prefix's wineserver so the first measurement pays no start-up.
run_windows "$build/tests/net/wininet_floor.exe" "$(winpath "$(urls warm '')")" >/dev/null

for mode in raw realistic; do
  suffix=""
  [ "$mode" = realistic ] && suffix="&delay=30&rate=2000000"
  echo "== $mode loopback: $count images of $size bytes"
  for round in 1 2; do
    printf '  WebRead            %s\n' "$(run_windows "$build/tests/net/bench_web_read.exe" "$(winpath "$(urls wr$round$mode "$suffix")")")"
    printf '  floor, 1024 reads  %s\n' "$(run_windows "$build/tests/net/wininet_floor.exe" "$(winpath "$(urls f$round$mode "$suffix")")" 1024)"
    printf '  floor, 64 KB reads %s\n' "$(run_windows "$build/tests/net/wininet_floor.exe" "$(winpath "$(urls g$round$mode "$suffix")")" 65536)"
    list=$(urls w$round$mode "$suffix")
    start=$(seconds)
    wget --no-http-keep-alive --no-proxy -nv -O /dev/null -i "$list" 2>/dev/null
    awk -v a="$start" -v b="$(seconds)" 'BEGIN { printf "  wget               %.3f s\n", b - a }'
  done
done
