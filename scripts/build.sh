#!/usr/bin/env bash
# Configures and builds one or more of the builds into build/<name> (FXUI_BUILD_DIR moves
# build/ elsewhere, so that several working copies or sessions can build side by side):
#   native  g++, Release: the core, fxapply, unit tests, benchmarks
#   asan    g++, Debug, AddressSanitizer + UndefinedBehaviorSanitizer: the core and unit tests
#   win64   x86_64-w64-mingw32: fxUi.dll, fxapply.exe and the Windows tests (run under Wine)
#   win32   i686-w64-mingw32: the shipping fxUi.dll, fxapply.exe and the same Windows tests
#           (run under Wine's WoW64 mode)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${FXUI_BUILD_DIR:-$root/build}

configure() {
  local name=$1; shift
  cmake -S "$root" -B "$out/$name" "$@" >/dev/null
}

for build in "${@:-native}"; do
  case $build in
    native) configure native -DCMAKE_BUILD_TYPE=Release ;;
    asan) configure asan -DCMAKE_BUILD_TYPE=Debug -DFXUI_SANITIZE=ON ;;
    win64) configure win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" ;;
    win32) configure win32 -DCMAKE_BUILD_TYPE=Release -DFXUI_TESTS=ON -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" ;;
    *) echo "unknown build: $build (native, asan, win64, win32)" >&2; exit 1 ;;
  esac
  echo "== building $build"
  cmake --build "$out/$build" -j2
done
