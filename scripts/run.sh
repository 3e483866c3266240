#!/usr/bin/env bash
# Sets up, builds and runs the main job: the example scenarios on both gauge modules.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
./build/tarn-panel list
./build/tarn-panel run tests/scenarios/modules/*.scn
