#!/usr/bin/env bash
# Installs what building, running and testing Tabulo needs on Debian 12.
# Only packages that are missing are installed. With --run, only what
# building and running the viewer needs (the README's run command).
set -euo pipefail
# Building the viewer and its chart pack, and showing it on a virtual display.
run_packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  xvfb xauth xdotool imagemagick
  fonts-dejavu-core fonts-liberation2
  fonts-wine libxcb1-dev libfontconfig-dev libpng-dev
  libdeflate-dev ccache mold
)
# The tests, benchmarks, fuzzers, package and end-to-end checks on top.
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev
  x11-utils x11-apps feh
  dpkg-dev file lintian appstream openbox
  clang libclang-rt-14-dev
  libqt6sql6-sqlite sqlite3
  weston xwayland qt6-wayland x11-xserver-utils
  libxcb-xtest0-dev
)
packages=("${run_packages[@]}")
[ "${1:-}" = --run ] || packages+=("${test_packages[@]}")
missing=()
for p in "${packages[@]}"; do
  [[ $(dpkg-query -W -f='${Status}' "$p" 2>/dev/null) == *"install ok installed"* ]] || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
