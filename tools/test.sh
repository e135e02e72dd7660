#!/usr/bin/env bash
# Sets everything up, builds both targets and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/build.sh"
ctest --test-dir "$root/build/native" --output-on-failure -j "$(nproc 2>/dev/null || echo 2)"
# The Debian package, as a user installs it.
ctest --test-dir "$root/build/release" --output-on-failure
# A short fuzz pass: every target a few thousand inputs (tools/fuzz.sh RUNS for longer runs).
"$root/tools/fuzz.sh" --jobs "$(nproc 2>/dev/null || echo 1)" 2000
# The screenshots of the Windows tests show the sample image.
"$root/build/native/make_sample_rom" "$root/build/win32/sample.rom" >/dev/null
# The Windows tests share one virtual display and one Wine prefix, one at a time.
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir "$root/build/win32" --output-on-failure
