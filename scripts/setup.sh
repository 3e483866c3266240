#!/usr/bin/env bash
# Installs the Debian packages that the build needs, if any is missing.
set -euo pipefail
# Drawing: cairo with its fontconfig backend and libpng; the faces the gauges' texts name
# ("Quartz": a seven-segment face, "Arial": a metric-compatible sans); SDL2 for the viewer;
# Xvfb and xdotool for the viewer's test under an X server and scripts/viewer-cpu.sh.
packages=(cmake make g++ libgtest-dev libbenchmark-dev pkg-config libcairo2-dev libfontconfig-dev libpng-dev
  fonts-dseg fonts-liberation2 libsdl2-dev xvfb xdotool
  libexpat1-dev)  # the simulator link's protocol file reader
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q "${missing[@]}"
fi
