#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite twice: the normal build, then the build
# with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
(cd build && ctest --output-on-failure -j "$(nproc)")
# The build runs the artwork generator, which leaks inside fontconfig's caches: leak checks
# are for the tests, not for the build's own tools.
ASAN_OPTIONS=detect_leaks=0 scripts/build.sh build-asan -DTARN_SANITIZE=ON -DTARN_BENCHMARKS=OFF
(cd build-asan && ctest --output-on-failure -j "$(nproc)")
