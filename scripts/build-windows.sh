#!/usr/bin/env bash
# Builds the two gauge modules and the host's core for Windows (32-bit) with Debian's
# mingw-w64, and checks the modules:
#
#   scripts/build-windows.sh [--arch i686|x86_64] [NATIVE_BUILD] [WINDOWS_BUILD]
#
# NATIVE_BUILD is build by default, WINDOWS_BUILD build-win (i686, what users install) or
# build-win64 (x86_64: a test flavour for machines that cannot run 32-bit programs). Out:
# WINDOWS_BUILD/gauges/TARN.gau and TARN2_Instruments.gau, and WINDOWS_BUILD/tarn-panel.exe
# (run and list; scripts/test-windows.sh runs it under Wine).
#
# The bitmaps and WAVE resources are the ones the Linux build embeds: the native build
# makes each module's resource directory (NAME_resources.bin), rc_script turns it into a
# resource script, windres compiles that into the DLL. The check: each exports ImportTable and Linkage and imports
# nothing but system libraries (winmm, dsound, user32, kernel32, the C runtime msvcrt).
set -euo pipefail
cd "$(dirname "$0")/.."
arch=i686
if [ "${1:-}" = "--arch" ]; then
  arch=${2:-}
  shift 2
fi
case "$arch" in
  i686) default_win=build-win; package=g++-mingw-w64-i686; machine=i386 ;;
  x86_64) default_win=build-win64; package=g++-mingw-w64-x86-64; machine=x86-64 ;;
  *) echo "build-windows.sh: --arch wants i686 or x86_64, got '$arch'" >&2; exit 2 ;;
esac
native=${1:-build}
win=${2:-$default_win}
jobs=${BUILD_JOBS:-2}
prefix=$arch-w64-mingw32
for tool in $prefix-g++ $prefix-windres $prefix-objdump; do
  command -v "$tool" > /dev/null || { echo "build-windows.sh: $tool is missing (apt-get install $package)" >&2; exit 2; }
done

# 1. The resource directories, from the native build.
if [ ! -f "$native/CMakeCache.txt" ]; then
  cmake -S . -B "$native" -DTARN_BENCHMARKS=OFF > "$native.configure.log" 2>&1 || { cat "$native.configure.log"; exit 1; }
fi
cmake --build "$native" -j "$jobs" --target TARN TARN2_Instruments
resources=$(cd "$native" && pwd)/windows-resources
mkdir -p "$resources"
for name in TARN TARN2_Instruments; do
  blob=$(find "$native" -name "${name}_resources.bin" -not -path "*/windows-resources/*" | head -1)
  [ -n "$blob" ] || { echo "build-windows.sh: no ${name}_resources.bin in $native" >&2; exit 1; }
  cp -p "$blob" "$resources/"
done

# 2. The resource-script writer, for this machine.
mkdir -p "$win"
g++ -std=c++17 -O1 -Wall -Wextra -o "$win/rc_script" cmake/windows/rc_script.cpp

# 3. The modules and the host.
cmake -S cmake/windows -B "$win" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-$arch.cmake" \
  -DTARN_RESOURCES_DIR="$resources" -DTARN_RC_SCRIPT="$(cd "$win" && pwd)/rc_script" > "$win.configure.log" 2>&1 \
  || { cat "$win.configure.log"; exit 1; }
cmake --build "$win" -j "$jobs"

# 4. The check.
status=0
for name in TARN TARN2_Instruments; do
  dll="$win/gauges/$name.gau"
  dump=$($prefix-objdump -p "$dll")
  grep -q "$machine" <<< "$($prefix-objdump -f "$dll")" || { echo "$dll: not a $arch module" >&2; status=1; }
  exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{t=1; next} t && /^[ \t]*\[/{print $NF} t && /^$/{t=0}' <<< "$dump")
  for symbol in ImportTable Linkage; do
    grep -qx "$symbol" <<< "$exports" || { echo "$dll: does not export $symbol" >&2; status=1; }
  done
  imports=$(awk '/DLL Name:/{print tolower($3)}' <<< "$dump" | sort -u)
  for dll_name in $imports; do
    case "$dll_name" in
      winmm.dll|dsound.dll|user32.dll|kernel32.dll|msvcrt.dll) ;;
      *) echo "$dll: imports $dll_name, which is not a system library" >&2; status=1 ;;
    esac
  done
  resources_count=$(grep -c '^[0-9]' "$win/${name}_rc/$name.rc" || true)
  echo "$dll: exports $(tr '\n' ' ' <<< "$exports")| imports $(tr '\n' ' ' <<< "$imports")| $resources_count resources"
done
exit $status
