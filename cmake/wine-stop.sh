#!/usr/bin/env bash
# Ends the wineserver of a test prefix and the X server wine-run.sh started
# for it. Usage: wine-stop.sh PREFIX-DIR
set -uo pipefail
prefix=$1
if [ -d "$prefix" ]; then
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
  WINEPREFIX=$prefix wineserver -w >/dev/null 2>&1
fi
if [ -f "$prefix.xvfb" ]; then
  read -r _ pid < "$prefix.xvfb" || true
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null
  rm -f "$prefix.xvfb"
fi
exit 0
