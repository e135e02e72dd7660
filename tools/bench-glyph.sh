#!/usr/bin/env bash
# The glyph switch of the Font Images page under Wine: close-ups of the 8x16
# font's character list on the program's own sheet, each until nothing is left
# to paint. Usage: bench-glyph.sh [SWITCHES] [ROUNDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
switches=${1:-64}
rounds=${2:-3}
win="$root/build/win32"
cmake -S "$root" -B "$root/build/native" -G Ninja >/dev/null
cmake --build "$root/build/native" --target make_sample_rom
cmake -S "$root" -B "$win" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$win" --target glyph_switch_bench -j "$(nproc 2>/dev/null || echo 2)"
"$root/build/native/make_sample_rom" "$win/sample.rom" >/dev/null

echo "== Glyph switch under Wine ($rounds rounds of $switches; load average $(cut -d' ' -f1-3 /proc/loadavg))"
for _ in $(seq "$rounds"); do
  OMBRIX_WINE_UNMANAGED=1 "$root/tools/wine-run.sh" "$win/glyph_switch_bench.exe" "$win/sample.rom" "$switches" \
    2> >(grep -v '^X connection' >&2)
done
