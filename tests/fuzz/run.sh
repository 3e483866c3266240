#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for a set time on a copy of its seed corpus.
#
#   tests/fuzz/run.sh [TARGET...] [SECONDS]
#
# Targets: scenario panel_config params wave wsprintf bmp link_line link_protocol xplane (all
# when none is named); 30 seconds each by default. The build goes to build-fuzz (FUZZ_BUILD
# overrides). Seeds stay as they are: what a run finds goes to the build folder's corpus copy, crashes to
# build-fuzz/fuzz/crash-<target>-*. Exit status: 0 no finding, 1 a target found a crash.
set -euo pipefail
cd "$(dirname "$0")/../.."
all=(scenario panel_config params wave wsprintf bmp link_line link_protocol xplane)
targets=()
seconds=30
for a in "$@"; do
  if [[ "$a" =~ ^[0-9]+$ ]]; then
    seconds=$a
  elif [[ " ${all[*]} " == *" $a "* ]]; then
    targets+=("$a")
  else
    echo "run.sh: unknown target '$a' (${all[*]})" >&2
    exit 2
  fi
done
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")
build=${FUZZ_BUILD:-build-fuzz}
jobs=${FUZZ_JOBS:-2}

cmake -S . -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTARN_FUZZ=ON \
  -DTARN_BENCHMARKS=OFF > "$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j "$jobs" --target $(printf '%s_fuzz ' "${targets[@]}")

# The sanitizer runtime is shared (the gauge modules are shared objects that need it too);
# it has to come first in the process.
runtime=$(clang++ -print-file-name=libclang_rt.asan-x86_64.so)
status=0
for t in "${targets[@]}"; do
  corpus="$build/fuzz/corpus-$t"
  mkdir -p "$corpus"
  cp -n tests/fuzz/"$t"/* "$corpus"/ 2>/dev/null || true
  echo "== $t: ${seconds} s"
  # Leaks are checked by the targets themselves where they matter (the sound layer's
  # objects); the host keeps its module handles for the run on purpose.
  if ! LD_PRELOAD="$runtime" ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
      "$build/fuzz/${t}_fuzz" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -max_len=8192 \
      -artifact_prefix="$build/fuzz/crash-$t-" -print_final_stats=1 "$corpus" > "$build/fuzz/$t.log" 2>&1; then
    echo "== $t: FOUND A CRASH (see $build/fuzz/$t.log)"
    tail -40 "$build/fuzz/$t.log"
    status=1
  else
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$build/fuzz/$t.log" | tr '\n' ' '
    echo
  fi
done
exit $status
