#!/usr/bin/env bash
# The main job: one export from the bundled demo shop, the way a user runs it
# from the command line. Installs what is missing, builds, starts the demo
# shop on 127.0.0.1, runs lumigrab.exe under Wine with a product address
# (under the build's own X server when there is no display), and shows the
# export folder and the archive the packer made.
#
# Usage: scripts/demo.sh [PRODUCT]   PRODUCT: K-1024 (default), coat or empty
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$(pwd)
product=${1:-K-1024}

bash scripts/install-deps.sh

# The product is 32-bit; a kernel without 32-bit support runs the 64-bit
# build of the same sources instead.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  preset=windows loader=/usr/lib/wine/wine
else
  preset=windows64 loader=/usr/lib/wine/wine64
  echo "demo: this kernel runs no 32-bit programs; using the 64-bit build"
fi
echo "demo: building ($preset)"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)" --target lumigrab lumigrab_packer >/dev/null
build=$source_dir/build/$preset
prefix=$build/wineprefix

# The program as a user has it: lumigrab.exe, its skin and the packer.
demo=$build/demo
rm -rf "$demo"
mkdir -p "$demo/img"
cp "$build/app/lumigrab.exe" "$build/app/zip.exe" "$demo/"
cp "$build/app/img/stickers.bmp" "$demo/img/"

unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY
python3 tests/shop/shop_server.py --daemon --port-file "$demo/shop.port" \
  --log "$demo/shop.log"
base=http://127.0.0.1:$(cat "$demo/shop.port")
stop() {
  curl -s "$base/stop" >/dev/null || true
  cmake/wine-stop.sh "$prefix"
}
trap stop EXIT
case $product in
  K-1024) address=$base/item/K-1024.htm ;;
  *) address=$base/item/$product.htm ;;
esac

echo "demo: the demo shop listens on $base"
echo "demo: wine lumigrab.exe $address"
start=$(date +%s.%N)
cmake/wine-run.sh "$prefix" "$loader" "$demo/lumigrab.exe" "$address" </dev/null
echo "demo: lumigrab.exe ended with exit code $? after $(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }') s"

# The packer goes on after lumigrab.exe has ended: wait for its archive.
archive=$(find "$demo/temp" -name '*.zip' 2>/dev/null | head -1 || true)
for _ in $(seq 300); do
  archive=$(find "$demo/temp" -name '*.zip' 2>/dev/null | head -1 || true)
  [ -n "$archive" ] && ! pgrep -f "$demo/zip.exe" >/dev/null && break
  sleep 0.2
done

echo
echo "== what the shop served"
sed 's/^/  /' "$demo/shop.log"
echo
echo "== the export folder, $demo/Output"
(cd "$demo/Output" && find . -type f -printf '  %-40p %8s bytes\n' | sort)
record=$(find "$demo/Output" -name '*.ac.txt' | head -1)
echo
echo "== the record file, $(basename "$record") (GBK)"
iconv -f GBK -t UTF-8 "$record" | sed 's/\r$//; s/^/  /'
echo
if [ -n "$archive" ]; then
  echo "== the archive the packer wrote, ${archive#"$demo/"}"
  unzip -l "$archive" | sed 's/^/  /'
  unzip -tq "$archive" | sed 's/^/  /'
else
  echo "== no archive: see $demo/zip.log"
fi
