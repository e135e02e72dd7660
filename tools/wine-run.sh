#!/usr/bin/env bash
# Runs a Windows program under Wine with the build folder's own prefix, inside
# a virtual X display when there is none. Usage: wine-run.sh PROGRAM.exe [ARGS...]
set -euo pipefail
exe=$1
shift
build_dir=$(cd "$(dirname "$exe")" && pwd)
export WINEPREFIX=${WINEPREFIX:-$build_dir/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$exe" "$@"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w || true
fi
exec wine "$exe" "$@"
