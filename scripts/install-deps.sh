#!/usr/bin/env bash
# Brings a fresh Debian 12 machine (as root) to the state the build and the
# tests need. Idempotent: when everything is present it only checks and exits.
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config
  googletest libbenchmark-dev
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  # Hosts whose kernel runs no 32-bit programs test a 64-bit build instead.
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  # zlib for the packer, in both Windows builds and natively for its tests.
  libz-mingw-w64-dev zlib1g-dev
  wine wine32:i386 wine64 libwine libwine:i386
  # xdotool drives the main window through the X server in end-to-end tests.
  xvfb xauth xdotool
  # The README's picture of the window (scripts/screenshot.sh) and the
  # image reader's benchmark.
  imagemagick wget
  # The test servers, their certificates, and checking the packer's archives.
  python3 openssl unzip
  locales fonts-wqy-zenhei
)

missing=()
dpkg --print-foreign-architectures | grep -qx i386 || missing+=("(i386 architecture)")
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null || true)
  [[ "$status" == ii* ]] || missing+=("$p")
done

need_root() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing $1; run this script as root to install it" >&2
    exit 1
  fi
}

if [ "${#missing[@]}" -gt 0 ]; then
  need_root "${missing[*]}"
  echo "install-deps: installing ${missing[*]}"
  # wine32 is an i386 package: the architecture must be known before the update.
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  # Recommends stay on: libwine's GnuTLS comes through them, and without it
  # every https request fails.
  apt-get install -y -q "${packages[@]}"
fi

# Wine maps non-ASCII host file names through the host locale: without a real
# zh_CN.UTF-8 locale every Chinese path fails with "path not found".
if ! locale -a 2>/dev/null | grep -qix 'zh_CN\.utf-\?8'; then
  need_root "the zh_CN.UTF-8 locale"
  echo "install-deps: generating the zh_CN.UTF-8 locale"
  if ! grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  fi
  locale-gen zh_CN.UTF-8 >/dev/null
fi

echo "install-deps: all dependencies present"
