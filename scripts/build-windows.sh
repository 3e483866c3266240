#!/usr/bin/env bash
# Builds the two gauge modules for Windows (32-bit) with Debian's mingw-w64 and checks them:
#
#   scripts/build-windows.sh [NATIVE_BUILD] [WINDOWS_BUILD]      (build, build-win by default)
#
# The bitmaps and WAVE resources are the ones the Linux build embeds: the native build
# makes each module's resource directory (NAME_resources.bin), rc_script turns it into a
# resource script, windres compiles that into the DLL. Out: WINDOWS_BUILD/gauges/TARN.gau
# and TARN2_Instruments.gau. The check: each exports ImportTable and Linkage and imports
# nothing but system libraries (winmm, dsound, user32, kernel32, the C runtime msvcrt).
set -euo pipefail
cd "$(dirname "$0")/.."
native=${1:-build}
win=${2:-build-win}
jobs=${BUILD_JOBS:-2}
for tool in i686-w64-mingw32-g++ i686-w64-mingw32-windres i686-w64-mingw32-objdump; do
  command -v "$tool" > /dev/null || { echo "build-windows.sh: $tool is missing (apt-get install g++-mingw-w64-i686)" >&2; exit 2; }
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

# 3. The modules.
cmake -S cmake/windows -B "$win" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-i686.cmake" \
  -DTARN_RESOURCES_DIR="$resources" -DTARN_RC_SCRIPT="$(cd "$win" && pwd)/rc_script" > "$win.configure.log" 2>&1 \
  || { cat "$win.configure.log"; exit 1; }
cmake --build "$win" -j "$jobs"

# 4. The check.
status=0
for name in TARN TARN2_Instruments; do
  dll="$win/gauges/$name.gau"
  dump=$(i686-w64-mingw32-objdump -p "$dll")
  grep -q "i386" <<< "$(i686-w64-mingw32-objdump -f "$dll")" || { echo "$dll: not a 32-bit x86 module" >&2; status=1; }
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
