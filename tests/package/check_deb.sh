#!/usr/bin/env bash
# The Debian package as a user gets it, unpacked into an empty root: it holds the
# program, its manual page and the licences and nothing else; the program tells the
# project's version, verifies the sample image and links no sanitizer runtime.
# Usage: check_deb.sh PACKAGE VERSION MAKE_SAMPLE_ROM BUILT_OMBRIX
set -euo pipefail
deb=$1 version=$2 make_sample=$3 built=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
[ "$deb" -nt "$built" ] || fail "$deb is missing or older than $built: tools/build.sh makes it"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

files=$(cd "$root" && find . -type f | sort)
expected=$'./usr/bin/ombrix\n./usr/share/doc/ombrix/copyright\n./usr/share/man/man1/ombrix.1'
[ "$files" = "$expected" ] || fail "the package holds"$'\n'"$files"
[ "$(dpkg-deb -f "$deb" Package Version)" = $'Package: ombrix\nVersion: '"$version" ] || fail "control: $(dpkg-deb -f "$deb")"
dpkg-deb -f "$deb" Depends | grep -q 'libstdc++6' || fail "no dependency on the C++ runtime: $(dpkg-deb -f "$deb" Depends)"

ombrix=$root/usr/bin/ombrix
[ "$("$ombrix" --version)" = "ombrix $version" ] || fail "--version says: $("$ombrix" --version)"
"$make_sample" "$root/sample.rom" >/dev/null
[ "$("$ombrix" verify "$root/sample.rom")" = "$root/sample.rom: valid" ] || fail "verify: $("$ombrix" verify "$root/sample.rom")"
# The manual page is the program's help with every command's (roff writes - as \-).
manual=$(sed 's/\\-/-/g' "$root/usr/share/man/man1/ombrix.1")
for command in info verify fix-checksum fields get set diff font modes; do
  grep -qx -- "$command" <<<"$manual" || fail "the manual page lacks $command"
done
grep -q "MIT License" "$root/usr/share/doc/ombrix/copyright" || fail "copyright without our licence"
grep -q "zlib" "$root/usr/share/doc/ombrix/copyright" || fail "copyright without the notices"

# No sanitizer runtime, neither as a library nor linked in.
if readelf -d "$ombrix" | grep -iE 'NEEDED.*(asan|ubsan|lsan|tsan)'; then fail "links a sanitizer runtime"; fi
if readelf -Ws --dyn-syms "$ombrix" | grep -qE '__(asan|ubsan|lsan|tsan)_'; then fail "holds sanitizer code"; fi
echo "package ok: $(basename "$deb")"
