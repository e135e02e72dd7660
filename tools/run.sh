#!/usr/bin/env bash
# Sets everything up, builds, writes a sample image and starts the editor under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/build.sh"
work="$root/build/run"
mkdir -p "$work"
# The Open dialog starts in the folder the program was started from.
"$root/build/native/make_sample_rom" "$work/sample.rom"
cd "$work"
export WINEPREFIX="$work/wineprefix"
exec "$root/tools/wine-run.sh" "$root/build/win32/OmbrixBiosEditor.exe"
