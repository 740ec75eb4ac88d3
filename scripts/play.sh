#!/usr/bin/env bash
# Installs what is needed, builds, and plays the presentation full screen.
# Where there is no display, it renders frame shots instead and says where.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
bin=build/release/src/driver/quillane
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin" -C build/release "$@"
fi
out="$PWD/build/release/shots"
echo "No display here: rendering frame shots to $out instead of playing."
"$bin" -C build/release --shots "$out" --at 5,30,50,65,80,95,120,140,155,170,185,200,215 --fps 30
