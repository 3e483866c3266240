#!/usr/bin/env bash
# Sets up, builds and runs the main job: the default flight of the built-in aircraft on
# the default panel, headless and faster than real time, writing a snapshot of the
# panel every 30 s of the flight and a summary into out/flight/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
./build/tarn-panel fly --config panel/panel.cfg --seconds 30 -o out/flight
echo "The default flight's pictures: $(pwd)/out/flight/snapshot-*.png; its summary: $(pwd)/out/flight/summary.txt"
