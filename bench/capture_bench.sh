#!/usr/bin/env bash
# Captures the whole presentation at 800x600 and 60 frames per second and
# reports the capture time as a ratio of the presentation's 225 s, with the
# split between rendering (main thread) and encoding (encoder thread).
# Usage: bash bench/capture_bench.sh [x264 preset ...]   (default: ultrafast, the capture's own)
# Each preset is one full capture, run one after another on the same build.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release >/dev/null
bin=build/release/src/driver/quillane
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(ultrafast)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
printf '%-10s %9s %7s %10s %10s %10s %8s\n' preset "capture s" ratio "render s" "wait s" "encode s" "MB"
for preset in "${presets[@]}"; do
  start=$(date +%s.%N)
  QUILLANE_X264_PRESET="$preset" SDL_VIDEODRIVER=offscreen "$bin" -C build/release \
    --capture "$out/$preset.mp4" 2>"$out/$preset.log" >/dev/null
  end=$(date +%s.%N)
  summary=$(grep -E '^quillane: [0-9]+ frames' "$out/$preset.log")
  render=$(sed -E 's/.*rendering ([0-9.]+) s.*/\1/' <<<"$summary")
  wait=$(sed -E 's/.*waiting for the encoder ([0-9.]+) s.*/\1/' <<<"$summary")
  encode=$(sed -E 's/.*encoding ([0-9.]+) s.*/\1/' <<<"$summary")
  size=$(stat -c %s "$out/$preset.mp4")
  awk -v p="$preset" -v s="$start" -v e="$end" -v r="$render" -v w="$wait" -v c="$encode" -v b="$size" \
    'BEGIN { t = e - s; printf "%-10s %9.1f %7.3f %10.1f %10.1f %10.1f %8.1f\n", p, t, t / 225.0, r, w, c, b / 1e6 }'
done
echo "ratio = capture time / 225 s (1.0 = real time). render: main thread between frames;"
echo "wait: main thread blocked on a full encoder queue; encode: encoder thread busy (overlaps render)."
