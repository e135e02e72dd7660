#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer)
# in build/fuzz and runs each for RUNS executions (default 20000; cli_set, whose every
# input maps the image through the pages, a quarter of them):
#   tools/fuzz.sh [--fresh] [--jobs N] [RUNS] [TARGET...]
# --jobs N runs N targets side by side (default 1; each target is one process).
# The corpus of a target grows in build/fuzz/corpus/TARGET (its starting inputs
# are written to build/fuzz/seeds/TARGET); --fresh starts from those alone and
# keeps nothing, for a quick pass that takes as long on every machine. A crashing
# input or a broken property
# is saved in build/fuzz/findings/TARGET/; once fixed, such an input belongs in
# tests/fuzz/regressions/TARGET/, where the unit tests replay it. Prints per target
# the executions, the time and the findings, and fails when there is any finding.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fresh=0
jobs=1
while [ $# -gt 0 ]; do
  case "$1" in
    --fresh) fresh=1; shift ;;
    --jobs) jobs=$2; shift 2 ;;
    *) break ;;
  esac
done
runs=${1:-20000}
shift $(( $# > 0 ? 1 : 0 ))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(rom_file mode_list page_parameter_table page_sub_vendor_id page_rom_signature
                                    page_sign_on_string page_memory_config page_font_images cli_set font_file
                                    retime)
build=$root/build/fuzz

# clang and its libFuzzer runtime come with the project's packages.
"$root/tools/setup.sh"

cmake -S "$root" -B "$build" -G Ninja -DOMBRIX_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
# Only the targets that run, and the tool that writes their starting corpus.
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target make_fuzz_seeds "${targets[@]/%/_fuzzer}" >/dev/null
# The starting corpus, written again whenever its tool has changed.
if [ ! -d "$build/seeds" ] || [ "$build/make_fuzz_seeds" -nt "$build/seeds" ]; then
  rm -rf "$build/seeds"
  "$build/make_fuzz_seeds" "$build/seeds.new"
  mv "$build/seeds.new" "$build/seeds"
fi

# A small quarantine keeps the sanitizer's memory warm between executions.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

max_len() {
  case "$1" in
    rom_file) echo 36864 ;;   # room for bytes past the 32 KB
    mode_list) echo 32768 ;;
    cli_set) echo 33024 ;;    # the assignments and the image
    retime) echo 32772 ;;     # the mode, rate and polarity, and the image
    font_file) echo 16384 ;;  # larger than any font of 256 glyphs
    *) echo 33280 ;;          # the script region and the image
  esac
}

# Runs one target and writes its line of figures to build/fuzz/results/TARGET.
run_target() {
  local target=$1 corpus findings log before start status seconds executions rate found
  corpus=$build/corpus/$target
  if [ "$fresh" -eq 1 ]; then
    corpus=$build/fresh/$target
    rm -rf "$corpus"
  fi
  findings=$build/findings/$target
  log=$build/logs/$target.log
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  before=$(find "$findings" -type f | wc -l)
  start=$(date +%s.%N)
  # New inputs go to the first folder; the seeds and what earlier runs found are read only.
  local inputs=("$corpus" "$build/seeds/$target")
  [ -d "$root/tests/fuzz/regressions/$target" ] && inputs+=("$root/tests/fuzz/regressions/$target")
  status=0
  local target_runs=$runs
  [ "$target" != cli_set ] || target_runs=$(( (runs + 3) / 4 ))
  "$build/${target}_fuzzer" -runs="$target_runs" -max_len="$(max_len "$target")" -timeout=20 -print_final_stats=1 \
    -artifact_prefix="$findings/" "${inputs[@]}" >"$log" 2>&1 || status=$?
  seconds=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { print b - a }')
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  found=$(( $(find "$findings" -type f | wc -l) - before ))
  [ "$status" -eq 0 ] || [ "$found" -gt 0 ] || found=1
  {
    printf '%-22s %12s %9.1f %10s %9d\n' "$target" "${executions:-?}" "$seconds" "${rate:-?}" "$found"
    if [ "$found" -gt 0 ]; then
      grep -m3 -E "PROPERTY VIOLATED|ERROR: |runtime error" "$log" | sed 's/^/    /' || true
      echo "    log: $log"
    fi
  } >"$build/results/$target"
}

rm -rf "$build/results"
mkdir -p "$build/results"
# cli_set takes longest (each of its inputs maps the image through the pages): started
# first, it runs beside the others instead of alone at the end.
launch=()
for target in "${targets[@]}"; do
  if [ "$target" = cli_set ]; then launch=("$target" "${launch[@]}"); else launch+=("$target"); fi
done
for target in "${launch[@]}"; do
  while [ "$(jobs -pr | wc -l)" -ge "$jobs" ]; do
    wait -n || true
  done
  run_target "$target" &
done
wait

printf '%-22s %12s %9s %10s %9s\n' target executions seconds "exec/s" findings
total_findings=0
for target in "${targets[@]}"; do
  cat "$build/results/$target"
  found=$(awk 'NR == 1 { print $5 }' "$build/results/$target")
  total_findings=$(( total_findings + ${found:-1} ))
done
[ "$total_findings" -eq 0 ]
