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
# Settings a prefix gets once; a prefix made before a change of them gets them again.
settings_mark="$WINEPREFIX/.ombrix-settings-1"
if [ ! -f "$WINEPREFIX/system.reg" ] || [ ! -f "$settings_mark" ]; then
  [ -f "$WINEPREFIX/system.reg" ] || wineboot --init >/dev/null 2>&1 || true
  if [ "${OMBRIX_WINE_UNMANAGED:-0}" = 1 ]; then
    # Without a window manager Wine waits for one on every hidden or destroyed
    # window; the tests' windows are left unmanaged instead.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  fi
  # The page templates ask for "Arial": without it Wine falls back to whatever
  # the system has (often DejaVu Sans, whose shaping crashes Wine 8 on some
  # Windows-1252 characters). Liberation Sans has Arial's metrics; Wine's own
  # fonts (fonts-wine) give "MS Sans Serif", Tahoma for "MS Shell Dlg" and the
  # caption's close glyph.
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f >/dev/null 2>&1 || true
  # Debian keeps Wine's own fonts in /usr/share/wine/fonts, where this Wine does
  # not look: without them the caption's buttons show letters instead of glyphs.
  fonts_dir="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -d /usr/share/wine/fonts ] && [ -d "$fonts_dir" ]; then ln -sf /usr/share/wine/fonts/* "$fonts_dir/"; fi
  # A crash prints its backtrace and ends the process at once: no crash dialog
  # waits for a click that never comes.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
  aedebug='HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug'
  wine reg add "$aedebug" /v Debugger /d 'winedbg --auto %ld %ld' /f >/dev/null 2>&1 || true
  wine reg add "$aedebug" /v Auto /d 1 /f >/dev/null 2>&1 || true
  wineserver -w || true
  touch "$settings_mark"
fi
exec wine "$exe" "$@"
