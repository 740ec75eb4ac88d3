#!/usr/bin/env bash
# Installs every Debian package quillane needs to build, test, play and capture.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev
  libsdl2-dev libgl-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri
  libjpeg-dev libpng-dev libmpg123-dev libmp3lame-dev libkissfft-dev
  libfreetype-dev fonts-dejavu-core
  ffmpeg libavcodec-dev libavformat-dev libavutil-dev libswscale-dev libswresample-dev
  libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth
)

sudo_if_needed() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_if_needed apt-get update
  sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
