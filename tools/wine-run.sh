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
  if [ "${OMBRIX_WINE_UNMANAGED:-0}" = 1 ]; then
    # Without a window manager Wine waits for one on every hidden or destroyed
    # window; the tests' windows are left unmanaged instead.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  fi
  wineserver -w || true
fi
exec wine "$exe" "$@"
