#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with clang into build-fuzz/ and runs
# each for a bounded time (seconds, default 30), starting from the seed
# corpus in fuzz/corpus/. Fails on any crash, sanitizer report or broken
# property; the failing input is left in build-fuzz/ as crash-*.
#
#   bash scripts/fuzz.sh [seconds] [harness...]     # harnesses: ini range image
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
harnesses=("$@")
[ ${#harnesses[@]} -gt 0 ] || harnesses=(ini range image)
out=build-fuzz
cmake -S fuzz -B "$out" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$out" -j2
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1
export QT_QPA_PLATFORM=offscreen
for h in "${harnesses[@]}"; do
  work="$out/corpus/$h"
  mkdir -p "$work"
  log="$out/$h.log"
  # The run works on a copy of the seeds; new inputs stay in build-fuzz/.
  if ! (cd "$out" && "./fuzz_$h" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 "corpus/$h" "../fuzz/corpus/$h") >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz_$h: FAILED (log: $log)" >&2
    exit 1
  fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -n 1)
  echo "fuzz_$h: ${seconds} s, ${execs} executions, ${cov}, ${ft}, corpus $(ls "$work" | wc -l) files"
done
