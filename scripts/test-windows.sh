#!/usr/bin/env bash
# The Windows modules under Wine: builds the modules and tarn-panel.exe for Windows and runs
# every scenario script of the module groups (tests/scenarios/systems, instruments, modules,
# sim) against them three times, with the x87 unit left as it is, set to double and set to
# single precision. Every run must pass.
#
#   scripts/test-windows.sh [--arch auto|i686|x86_64]
#
# What users install is the 32-bit (i686) build. Running it needs Wine for 32-bit programs,
# which needs a machine that runs 32-bit x86 programs; where the kernel cannot (no 32-bit
# emulation), --arch auto (the default) builds and checks the i686 modules, then runs the
# scenarios on the 64-bit (x86_64) build of the same sources under 64-bit Wine and says so.
# Installs what it needs when missing (mingw-w64, Wine); the Wine prefix lives in the build
# folder. Exit status: 0 all passed, 1 a scenario failed, 2 a phase could not run.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=auto
if [ "${1:-}" = "--arch" ]; then arch=${2:-}; fi
case "$arch" in auto|i686|x86_64) ;; *) echo "test-windows.sh: --arch wants auto, i686 or x86_64" >&2; exit 2 ;; esac

# 1. What it needs.
export DEBIAN_FRONTEND=noninteractive
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
installed() { dpkg-query -W -f='${Status}' "$1" 2> /dev/null | grep -q "install ok installed"; }
missing=()
for p in cmake make g++ g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 wine32:i386; do
  installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then $sudo dpkg --add-architecture i386; fi
  $sudo apt-get update -q
  $sudo apt-get install -y -q "${missing[@]}" || { echo "test-windows.sh: cannot install ${missing[*]}" >&2; exit 2; }
fi

# 2. Which build runs: 32-bit Wine runs only where the kernel runs 32-bit programs.
runs_32bit=no
if /usr/lib/wine/wine --version > /dev/null 2>&1; then runs_32bit=yes; fi
if [ "$arch" = auto ]; then
  if [ $runs_32bit = yes ]; then arch=i686; else arch=x86_64; fi
fi
if [ "$arch" = i686 ] && [ $runs_32bit = no ]; then
  echo "test-windows.sh: this machine cannot run 32-bit x86 programs, so 32-bit Wine cannot run here" >&2
  exit 2
fi

# 3. The builds: the i686 modules always (what users install, checked for their exports and
# imports), and the build that runs.
scripts/build-windows.sh --arch i686 build build-win
if [ "$arch" = i686 ]; then
  win=build-win
  loader=/usr/lib/wine/wine
else
  echo "test-windows.sh: this machine cannot run 32-bit x86 programs (no 32-bit support in its kernel);" \
    "the scenarios run on the x86_64 build of the same sources under 64-bit Wine"
  scripts/build-windows.sh --arch x86_64 build build-win64
  win=build-win64
  loader=/usr/lib/wine/wine64
fi
[ -x "$loader" ] || { echo "test-windows.sh: $loader is missing" >&2; exit 2; }

# 4. A Wine prefix of our own, made once.
export WINEPREFIX="$PWD/$win/wineprefix" WINELOADER="$loader" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$loader" wineboot -i > "$win/wineboot.log" 2>&1 || { cat "$win/wineboot.log" >&2; echo "test-windows.sh: wineboot failed" >&2; exit 2; }
fi

# 5. Every scenario of the module groups, three times.
scripts=(tests/scenarios/systems/*.scn tests/scenarios/instruments/*.scn tests/scenarios/modules/*.scn tests/scenarios/sim/*.scn)
status=0
for mode in default double single; do
  echo "== $arch, --x87 $mode: ${#scripts[@]} scripts"
  set +e
  "$loader" "$win/tarn-panel.exe" --gauges "$win/gauges" --x87 "$mode" run "${scripts[@]}"
  rc=$?
  set -e
  if [ $rc -ne 0 ]; then
    echo "test-windows.sh: the $arch run with --x87 $mode ended with exit status $rc" >&2
    [ $rc -eq 1 ] && [ $status -eq 0 ] && status=1
    [ $rc -ne 1 ] && status=2
  fi
done
[ $status -eq 0 ] && echo "test-windows.sh: every scenario passed on the $arch Windows build, in all three x87 modes"
exit $status
