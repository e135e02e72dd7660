#!/usr/bin/env bash
# Times ombrix as whole processes with hyperfine against `cat IMAGE` (the floor of
# starting a process and reading the file): info, and set of one field (which saves);
# then the batches: every field of the image read (fields --json) and transplanted
# into another image (set --from), and 1,000 and 4,096 glyph rows in one set.
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
"$build/ombrix" fields "$work/sample.rom" --json >"$work/fields.json"
rows=$(python3 -c "print(' '.join(f'fonts.8x16.{c:02x}.{r}={(c * 7 + r) & 255:02X}' for c in range(256) for r in range(16)))")
# shellcheck disable=SC2086
hyperfine -N --warmup 2 --runs 20 --export-json "$build/cli-batch.json" \
  -n "ombrix fields IMAGE --json" "$build/ombrix fields $work/sample.rom --json" \
  -n "ombrix set IMAGE --from FIELDS.json" "$build/ombrix set $work/set.rom --from $work/fields.json" \
  -n "ombrix set IMAGE (1,000 glyph rows)" "$build/ombrix set $work/set.rom $(echo $rows | cut -d' ' -f1-1000)" \
  -n "ombrix set IMAGE (4,096 glyph rows)" "$build/ombrix set $work/set.rom $rows"
# Medians and minima: on a loaded machine the mean says more about the load than the program.
python3 - "$build/cli-bench.json" "$build/cli-batch.json" <<'PY'
import json, statistics, sys
for name in sys.argv[1:]:
    results = json.load(open(name))["results"]
    floor = statistics.median(results[0]["times"])
    print("| Command | Median | Minimum | Median / " + ("cat" if "bench" in name else "fields") + " |")
    print("|---|---:|---:|---:|")
    for r in results:
        m = statistics.median(r["times"])
        print(f"| `{r['command'][:60]}` | {m * 1000:.1f} ms | {min(r['times']) * 1000:.1f} ms | {m / floor:.2f} |")
PY
