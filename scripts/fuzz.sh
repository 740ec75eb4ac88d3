#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset: clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs the .ebr and PNG targets side by side,
# each for the given number of seconds. Findings are kept under
# build/fuzz/fuzz-runs/artifacts-*; the grown corpus stays for the next run.
# Usage: bash scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build=build/fuzz
work="$build/fuzz-runs"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 --target ebr_fuzzer png_fuzzer fuzz_seeds
"$build/tests/fuzz/fuzz_seeds" "$work/seeds"

targets=(ebr png)
pids=()
for target in "${targets[@]}"; do
  mkdir -p "$work/corpus-$target" "$work/artifacts-$target"
  "$build/tests/fuzz/${target}_fuzzer" "$work/corpus-$target" "$work/seeds/$target" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/artifacts-$target/" >"$work/$target.log" 2>&1 &
  pids+=($!)
done

status=0
for i in "${!targets[@]}"; do
  target="${targets[$i]}"
  if wait "${pids[$i]}"; then
    echo "$target: clean after ${seconds} s"
  else
    status=1
    echo "$target: FOUND A FAULT (log: $work/$target.log)"
    tail -n 40 "$work/$target.log"
  fi
  grep -E "stat::number_of_executed_units|stat::new_units_added|stat::peak_rss_mb" "$work/$target.log" || true
done
exit "$status"
