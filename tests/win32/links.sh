#!/usr/bin/env bash
# Saves through symbolic links under Wine, by both front ends: the editor's window (the Links suite of the Windows
# tests) and ombrix.exe. Wine makes no links itself and shows a Unix link as the file or folder it leads to (a
# dangling one or a circle not at all), so this script makes them and checks afterwards that each is still the
# same link. Usage: links.sh BUILD_DIR (the Windows build folder, with sample.rom in it)
set -euo pipefail
build=$(cd "$1" && pwd)
run=$(dirname "$0")/../../tools/wine-run.sh
links=$build/links
rm -rf "$links"
fail() {
  echo "links.sh: $*" >&2
  exit 1
}
# The links every folder here gets, and the check that they are all still there as they were made.
make_links() {
  mkdir -p "$1/cards"
  ln -s cards/card.rom "$1/current.rom"
  ln -s cards "$1/via"
  ln -s gone.rom "$1/dangling.rom"
  ln -s loop.rom "$1/loop.rom"
}
links_kept() {
  [ "$(readlink "$1/current.rom")" = cards/card.rom ] && [ "$(readlink "$1/via")" = cards ] &&
    [ "$(readlink "$1/dangling.rom")" = gone.rom ] && [ "$(readlink "$1/loop.rom")" = loop.rom ] &&
    [ "$(ls -A "$1" | tr '\n' ' ')" = "cards current.rom dangling.rom loop.rom via " ] ||
    fail "$1: a link was replaced, or a file was made beside them: $(ls -lA "$1")"
}

# The window: File > Save through current.rom and via/, then with the image gone and Save As to the circle.
make_links "$links/sheet"
"$run" "$build/ombrix_win32_tests.exe" --gtest_filter='Links*.*'
links_kept "$links/sheet"
[ -z "$(ls -A "$links/sheet/cards")" ] || fail "a save made a file where current.rom leads: $(ls -A "$links/sheet/cards")"

# ombrix.exe: set and fix-checksum through current.rom and via/, then -o to a link that leads nowhere and one that
# leads round in a circle, which must fail with the reason and change nothing.
cli=$links/cli
make_links "$cli"
cp "$build/sample.rom" "$cli/cards/card.rom"
cd "$cli"
"$run" "$build/ombrix.exe" set current.rom memory.pllctrl1=1234
"$run" "$build/ombrix.exe" set 'via\card.rom' sign-on.text=Linked
"$run" "$build/ombrix.exe" get current.rom memory.pllctrl1 sign-on.text | tr -d '\r' | tr '\n' ' ' |
  grep -qx '00001234 Linked ' || fail "set through current.rom or via did not reach cards/card.rom"
"$run" "$build/ombrix.exe" fix-checksum ../../sample.rom -o current.rom
cmp -s cards/card.rom "$build/sample.rom" || fail "fix-checksum -o current.rom did not write cards/card.rom"
for refusal in "dangling.rom:it is a symbolic link to nothing that exists" \
  "loop.rom:its symbolic links lead round in a circle"; do
  link=${refusal%%:*}
  status=0
  "$run" "$build/ombrix.exe" set current.rom memory.pllctrl1=1 -o "$link" 2>"$cli.err" || status=$?
  [ "$status" = 4 ] || fail "set -o $link: exit status $status, not 4"
  grep -qF "$link: could not be written: ${refusal#*:}; it is unchanged" "$cli.err" ||
    fail "set -o $link said: $(cat "$cli.err")"
done
links_kept "$cli"
[ "$(ls -A cards)" = card.rom ] || fail "a save left a file beside cards/card.rom: $(ls -A cards)"
echo "links kept, saves through them written, broken ones refused"
