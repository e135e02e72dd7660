#!/usr/bin/env bash
# ombrix.exe under Wine with file names outside the ANSI code page (Greek, CJK): it
# finds the file, names it correctly in what it prints, and saves to such a name.
# Wine itself maps Linux file names and arguments through the locale's character set,
# so it runs in a UTF-8 locale (in the C locale Wine cuts every byte to 7 bits before
# any program sees it).
# Usage: unicode_names.sh WINE_RUN OMBRIX_EXE SAMPLE_ROM
set -euo pipefail
wine_run=$(realpath "$1") exe=$(realpath "$2") sample=$(realpath "$3")
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
name='βιος-固件.rom'
cp "$sample" "$name"
export LC_ALL=C.UTF-8
out=$("$wine_run" "$exe" info "$name" | tr -d '\r')
grep -qxF "file:       $name" <<<"$out" || fail "info printed"$'\n'"$out"
"$wine_run" "$exe" set "$name" memory.pllctrl1=00000001 -o 'Ωμέγα.rom'
[ "$("$wine_run" "$exe" get 'Ωμέγα.rom' memory.pllctrl1 | tr -d '\r')" = 00000001 ] || fail "the set did not reach Ωμέγα.rom"
[ -f 'Ωμέγα.rom' ] || fail "the saved file has another name: $(ls)"
cmp -s "$sample" "$name" || fail "the source image changed"
echo "unicode names ok"
