#!/usr/bin/env bash
# The Windows DLLs, through CTest, on either kind of build machine:
#
# - always: both levels cross-built as the 32-bit DLLs hosts load, their
#   export and import tables checked without running them (exactly the
#   listed names, undecorated, every one __stdcall; only Windows' own DLLs
#   imported);
# - where this machine can run 32-bit programs: both levels' test programs,
#   the load checks and the C hosts as 32-bit Windows programs under wine;
# - where it cannot (a kernel without 32-bit emulation): the same suites
#   built as 64-bit Windows programs and run under the 64-bit wine loader.
#   The Windows runtime's numerics, file reading and the golden tables are
#   then still checked on Windows; the 32-bit calling convention is left to
#   the static checks.
#
# Which machine this is, is found out, not guessed: a 96-byte 32-bit Linux
# program that only exits with status 42 is run.  VESK_WINDOWS_ARCH=x86_64
# (or i686) forces a path.  Installs what the chosen path lacks (safe to run
# again) and exits non-zero on any failure.
#
#   bash .ci/windows.sh          build directories: build-windows[-*]
#   VESK_WINDOWS_BUILD=dir bash .ci/windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."
exec </dev/null

build=${VESK_WINDOWS_BUILD:-build-windows}
jobs=${VESK_JOBS:-$(nproc)}
mkdir -p "$build"

# --- which path --------------------------------------------------------------
runs_32_bit_programs() {
  local probe="$build/i386-probe"
  # ELF header, one loadable segment, then: mov eax, 1; mov ebx, 42; int 0x80.
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  local status=0
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  [ "$status" -eq 42 ]
}

case "${VESK_WINDOWS_ARCH:-}" in
  i686)
    arch=i686
    echo "== Windows: 32-bit test programs under wine (VESK_WINDOWS_ARCH=i686)" ;;
  x86_64)
    arch=x86_64
    echo "== Windows: 64-bit test programs under wine64 (VESK_WINDOWS_ARCH=x86_64);" \
         "the 32-bit DLLs are checked statically" ;;
  "")
    if runs_32_bit_programs; then
      arch=i686
      echo "== Windows: this machine runs 32-bit programs (the i386 probe exited 42):" \
           "32-bit test programs under wine"
    else
      arch=x86_64
      echo "== Windows: this machine cannot run 32-bit programs (the i386 probe did not" \
           "exit 42; no 32-bit emulation in the kernel): 64-bit test programs under wine64," \
           "the 32-bit DLLs checked statically"
    fi ;;
  *)
    echo "VESK_WINDOWS_ARCH must be i686 or x86_64, not '$VESK_WINDOWS_ARCH'" >&2
    exit 2 ;;
esac

# --- what the path needs -----------------------------------------------------
echo "== Windows: dependencies"
packages=(cmake make g++-mingw-w64-i686 googletest)
if [ "$arch" = i686 ]; then
  packages+=(wine wine32:i386)
else
  packages+=(g++-mingw-w64-x86-64 wine wine64)
fi
missing=()
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
for package in "${packages[@]}"; do
  installed "$package" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  # wine32 is an i386 package.
  if [ "$arch" = i686 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  echo "installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

compiler_version() { ("$1-g++-posix" --version 2>/dev/null || "$1-g++" --version) | head -n 1; }
common=(-DVESK_WERROR=ON -DVESK_BUILD_TOOLS=OFF -DVESK_BUILD_BENCHMARKS=OFF)
# ccache, when the machine has it, serves the rebuilds of every path.
if command -v ccache >/dev/null; then
  common+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# Runs one build's CTest suite with one wineserver for the whole run instead
# of one per burst of tests; it and wine's services stop when the suite ends.
run_under_wine() {
  local dir=$1
  WINEPREFIX=$(sed -n 's/^VESK_WINEPREFIX:[A-Z]*=//p' "$dir/CMakeCache.txt")
  export WINEPREFIX
  wineserver -p >/dev/null 2>&1
  local status=0
  ctest --test-dir "$dir" --output-on-failure -j"$jobs" --timeout 600 || status=$?
  wineserver -k >/dev/null 2>&1 || true
  return $status
}

if [ "$arch" = i686 ]; then
  compiler_version i686-w64-mingw32
  wine --version
  echo "== Windows: configure and build (32-bit, with the test programs)"
  # Configuring creates the wine prefix in the build tree (VESK_WINEPREFIX).
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake \
        -DVESK_BUILD_TESTS=ON "${common[@]}"
  cmake --build "$build" -j"$jobs"
  echo "== Windows: 32-bit test programs under wine"
  run_under_wine "$build"
else
  compiler_version i686-w64-mingw32
  compiler_version x86_64-w64-mingw32
  /usr/lib/wine/wine64 --version
  echo "== Windows: the 32-bit DLLs, built and checked without running them"
  cmake -S . -B "$build-i686" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake \
        -DVESK_BUILD_TESTS=OFF -DVESK_WINDOWS_STATIC_CHECKS=ON "${common[@]}"
  cmake --build "$build-i686" -j"$jobs"
  ctest --test-dir "$build-i686" --output-on-failure -V
  echo "== Windows: configure and build (64-bit, with the test programs)"
  cmake -S . -B "$build-x86_64" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake \
        -DVESK_BUILD_TESTS=ON "${common[@]}"
  cmake --build "$build-x86_64" -j"$jobs"
  echo "== Windows: 64-bit test programs under wine64"
  run_under_wine "$build-x86_64"
fi
