#!/usr/bin/env bash
# Cross-builds both libraries as 32-bit Windows DLLs with MinGW-w64, then runs
# the test programs of both levels under wine and checks the DLLs' export and
# import tables, all through CTest.  Installs what a Debian 12 machine lacks
# (safe to run again) and exits non-zero on any failure.
#
#   bash .ci/windows.sh          build directory: build-windows
#   VESK_WINDOWS_BUILD=dir bash .ci/windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."
exec </dev/null

build=${VESK_WINDOWS_BUILD:-build-windows}
jobs=${VESK_JOBS:-$(nproc)}

echo "== Windows: dependencies"
missing=()
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
for package in cmake make g++-mingw-w64-i686 wine wine32:i386 googletest; do
  installed "$package" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  # wine32 is an i386 package.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  echo "installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
(i686-w64-mingw32-g++-posix --version 2>/dev/null || i686-w64-mingw32-g++ --version) | head -n 1
wine --version

echo "== Windows: configure and build"
# Configuring creates the wine prefix in the build tree (VESK_WINEPREFIX).
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake \
      -DVESK_WERROR=ON -DVESK_BUILD_TESTS=ON -DVESK_BUILD_TOOLS=OFF -DVESK_BUILD_BENCHMARKS=OFF
cmake --build "$build" -j"$jobs"

echo "== Windows: tests under wine"
# One wineserver for the whole run instead of one per burst of tests; it and
# wine's services stop with it when the run ends, however it ends.
export WINEPREFIX
WINEPREFIX=$(sed -n 's/^VESK_WINEPREFIX:[A-Z]*=//p' "$build/CMakeCache.txt")
wineserver -p >/dev/null 2>&1
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 600
