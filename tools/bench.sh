#!/usr/bin/env bash
# Measures the editor: the benchmarks of the portable part (built without the
# sanitizers in build/bench), then start-up under Wine and the program's size,
# then the glyph switch of the Font Images page.
# Arguments go to Google Benchmark, e.g. --benchmark_filter=Cycle.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
cmake -S "$root" -B "$root/build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DOMBRIX_SANITIZE=OFF >/dev/null
cmake --build "$root/build/bench" --target ombrix_bench -j "$(nproc 2>/dev/null || echo 2)"

echo "== Benchmarks (median of 5 repetitions; the files live in $(dirname "$(mktemp -u)"))"
results="$root/build/bench/results.json"
"$root/build/bench/ombrix_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_out="$results" --benchmark_out_format=json "$@"
python3 - "$results" <<'PY'
import json, sys
median = {b["run_name"].removesuffix("/real_time"): b["real_time"] for b in json.load(open(sys.argv[1]))["benchmarks"]
          if b.get("aggregate_name") == "median"}
for cycle, plain in (("Cycle", "ReadWrite32K"), ("Cycle/NoFsync", "ReadWrite32K/NoFsync")):
    if cycle in median and plain in median:
        print(f"{cycle} / {plain}: {median[cycle] / median[plain]:.2f}")
PY

"$root/tools/bench-startup.sh"
"$root/tools/bench-glyph.sh"
