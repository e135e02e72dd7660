#!/usr/bin/env bash
# The Windows ZIP as a user gets it: exactly the two programs, the README and the
# licences in one folder; each program carries the project's version, ombrix.exe its
# own manifest, and unpacked it runs under Wine and tells that version.
# Usage: check_zip.sh ZIP VERSION WINE_RUN WINDRES BUILT_OMBRIX_EXE
set -euo pipefail
zip=$1 version=$2 wine_run=$3 windres=$4 built=$5
fail() { echo "FAIL: $*" >&2; exit 1; }
[ "$zip" -nt "$built" ] || fail "$zip is missing or older than $built: tools/build.sh makes it"
folder=$(basename "$zip" .zip)
files=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
expected=$(printf "$folder/%s\n" LICENSE OmbrixBiosEditor.exe README.md THIRD-PARTY-NOTICES.txt ombrix.exe | sort)
[ "$files" = "$expected" ] || fail "the ZIP holds"$'\n'"$files"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work"
IFS=. read -r major minor patch <<<"$version"
for exe in OmbrixBiosEditor.exe ombrix.exe; do
  resources=$("$windres" -i "$work/$folder/$exe" -O rc)
  grep -q "FILEVERSION $major, $minor, $patch, 0" <<<"$resources" || fail "$exe: no version $version"
  grep -q "VALUE \"ProductVersion\", \"$version\"" <<<"$resources" || fail "$exe: no product version $version"
  grep -q "VALUE \"OriginalFilename\", \"$exe\"" <<<"$resources" || fail "$exe: another program's version resource"
done
"$windres" -i "$work/$folder/ombrix.exe" -O rc | grep -q 'Ombrix.CommandLine' || fail "ombrix.exe: no manifest of its own"

# The shared prefix of the build folder: a new one would take its set-up time on every run.
out=$(WINEPREFIX=$(dirname "$built")/wineprefix "$wine_run" "$work/$folder/ombrix.exe" --version | tr -d '\r')
[ "$out" = "ombrix $version" ] || fail "ombrix.exe --version says: $out"
echo "package ok: $(basename "$zip")"
