#!/usr/bin/env bash
# Runs a Windows program of the build under Wine: the test emulator of the
# cross builds. Usage: wine-run.sh PREFIX-DIR LOADER PROGRAM [ARGS...]
# The prefix lives in the build folder and is made on first use. Without a
# DISPLAY, the programs get an Xvfb of the prefix's own (wine-stop.sh ends it).
set -euo pipefail
prefix=$1 loader=$2
shift 2

export WINEPREFIX=$prefix
# Code page 936 (GBK) is the system's ANSI code page; Wine also needs the
# host locale to map Chinese file names.
export LC_ALL=zh_CN.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: prefix creation would look for them.
export WINEDLLOVERRIDES="mscoree,mshtml="
# WinINet reads the host proxy settings; tests talk to 127.0.0.1 only.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY all_proxy ALL_PROXY

here=$(cd "$(dirname "$0")" && pwd)

# A prefix made by another Wine build fails to load kernel32: remake it when
# the installed Wine changes.
stamp_text=$(dpkg-query -W -f='${Package}:${Architecture}=${Version}\n' \
  wine wine64 libwine 'libwine:i386' 2>/dev/null || true)
stamp_text+=$'\n'$(md5sum "$here/wine-prefix.reg" | cut -d' ' -f1)
stamp=$prefix/.lumigrab-stamp

make_prefix() {
  rm -rf "$prefix"
  mkdir -p "$prefix"
  "$loader" wineboot --init </dev/null >/dev/null 2>&1 9>&- || true
  # Unmanaged windows (no window manager waits) and the CJK font for the
  # controls' Song typeface.
  "$loader" regedit /S "$(winepath_of "$here/wine-prefix.reg")" </dev/null >/dev/null 2>&1 9>&-
  wineserver -w </dev/null >/dev/null 2>&1 9>&-
  printf '%s\n' "$stamp_text" > "$stamp"
}

winepath_of() {
  # Z: is the host's root in every prefix.
  printf 'Z:%s' "${1//\//\\}"
}

# Starts (or finds) the prefix's own X server; its number and pid are kept
# beside the prefix.
ensure_display() {
  local file=$prefix.xvfb number pid
  if [ -f "$file" ]; then
    read -r number pid < "$file" || true
    if [ -n "${pid:-}" ] && kill -0 "$pid" 2>/dev/null; then
      export DISPLAY=:$number
      return
    fi
  fi
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  setsid Xvfb -displayfd 3 -nolisten tcp -screen 0 1920x1080x24 \
    3>"$fifo" </dev/null >/dev/null 2>&1 9>&- &
  pid=$!
  read -r number < "$fifo"
  rm -f "$fifo"
  printf '%s %s\n' "$number" "$pid" > "$file"
  export DISPLAY=:$number
}

mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$stamp_text" ]; then
  make_prefix
fi
if [ -z "${DISPLAY:-}" ]; then
  ensure_display
fi
# Keep one wineserver alive across the many short test programs: a cold
# start costs a second or more each time. Wine's own background processes
# (services.exe and the like) live as long as the server: start them here,
# away from the caller's output, or CTest waits for them to close it.
if wineserver -p60 </dev/null >/dev/null 2>&1 9>&-; then
  "$loader" cmd.exe /c exit 0 </dev/null >/dev/null 2>&1 9>&- || true
fi
flock -u 9
exec 9>&-

exec "$loader" "$@"
