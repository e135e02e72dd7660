#!/usr/bin/env bash
# Times ombrix as whole processes with hyperfine against `cat IMAGE` (the floor of
# starting a process and reading the file): info, and set of one field (which saves).
# ombrix is built without the sanitizers in build/bench. Usage: bench-cli.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/bench}
"$root/tools/setup.sh"
command -v hyperfine >/dev/null || { echo "hyperfine is needed (apt-get install hyperfine)" >&2; exit 1; }
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DOMBRIX_SANITIZE=OFF >/dev/null
cmake --build "$build" --target ombrix make_sample_rom -j 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/make_sample_rom" "$work/sample.rom" >/dev/null
cp "$work/sample.rom" "$work/set.rom"
hyperfine -N --warmup 20 --runs 200 --export-json "$build/cli-bench.json" \
  -n "cat IMAGE" "cat $work/sample.rom" \
  -n "ombrix info IMAGE" "$build/ombrix info $work/sample.rom" \
  -n "ombrix set IMAGE memory.pllctrl1=..." "$build/ombrix set $work/set.rom memory.pllctrl1=00003A0E" \
  -n "ombrix set IMAGE fonts.8x16.41.3=..." "$build/ombrix set $work/set.rom fonts.8x16.41.3=FF"
# Medians and minima: on a loaded machine the mean says more about the load than the program.
python3 - "$build/cli-bench.json" <<'PY'
import json, statistics, sys
results = json.load(open(sys.argv[1]))["results"]
floor = statistics.median(results[0]["times"])
print("| Command | Median | Minimum | Median / cat |")
print("|---|---:|---:|---:|")
for r in results:
    m = statistics.median(r["times"])
    print(f"| `{r['command']}` | {m * 1000:.1f} ms | {min(r['times']) * 1000:.1f} ms | {m / floor:.2f} |")
PY
