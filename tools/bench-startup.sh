#!/usr/bin/env bash
# Start-up under Wine, the editor against two bare property sheets in the same
# run (six empty pages; the editor's own six page templates, icon and menu with
# no logic), a timeline of the editor's start-up, and what the program's size is
# made of. Usage: bench-startup.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-10}
win="$root/build/win32"
cmake -S "$root" -B "$win" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$win" --target OmbrixBiosEditor editor_traced bare_sheet bare_sheet_templates startup_timer \
  -j "$(nproc 2>/dev/null || echo 2)"

echo "== Start-up under Wine ($runs runs each, after one to warm the caches; load average $(cut -d' ' -f1-3 /proc/loadavg))"
# A prefix made now leaves the windows unmanaged, as the Windows tests do: without
# a window manager Wine would otherwise wait for one on every window.
OMBRIX_WINE_UNMANAGED=1 "$root/tools/wine-run.sh" "$win/startup_timer.exe" "$runs" \
  "Ombrix BIOS Editor" OmbrixBiosEditor.exe "Bare Sheet" bare_sheet_templates.exe "Bare Sheet" bare_sheet.exe \
  "Ombrix BIOS Editor" editor_traced.exe 2> >(grep -v '^X connection' >&2)

echo "== Size"
exe="$win/OmbrixBiosEditor.exe"
x86_64-w64-mingw32-strip -o "$win/OmbrixBiosEditor.stripped.exe" "$exe"
echo "OmbrixBiosEditor.exe: $(stat -c %s "$exe") bytes as built (with debug information), $(stat -c %s "$win/OmbrixBiosEditor.stripped.exe") stripped"
python3 "$root/tools/size_report.py" "$win/OmbrixBiosEditor.map"
"$root/tools/check_imports.sh" x86_64-w64-mingw32-objdump "$exe"
