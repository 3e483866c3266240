#!/usr/bin/env bash
# Regenerates the golden images of tests/golden/ from the current drawing code and the
# current gauge modules, on purpose: run it after a change in drawing or in a real gauge's
# artwork that is meant, look at the pictures, commit them.
#   tests/golden/regenerate.sh [BUILD_DIR]      (default: build)
# The tests run where ctest runs them (BUILD_DIR/tests): they find tests/golden/ from
# their source file's path, which the build may give relative to that folder.
set -euo pipefail
cd "$(dirname "$0")/../.."
dir=${1:-build}
cmake --build "$dir" -j2 --target tarn_tests
cd "$dir/tests"
TARN_UPDATE_GOLDEN=1 ./tarn_tests --gtest_filter='Pictures/RenderGolden.*'
./tarn_tests --gtest_filter='Pictures/RenderGolden.*'
