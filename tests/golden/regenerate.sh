#!/usr/bin/env bash
# Regenerates the golden images of tests/golden/ from the current drawing code, on purpose:
# run it after a change in drawing that is meant, look at the pictures, commit them.
#   tests/golden/regenerate.sh [BUILD_DIR]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/../.."
dir=${1:-build}
cmake --build "$dir" -j2 --target tarn_tests
TARN_UPDATE_GOLDEN=1 "$dir/tests/tarn_tests" --gtest_filter='Pictures/RenderGolden.*'
"$dir/tests/tarn_tests" --gtest_filter='Pictures/RenderGolden.*'
