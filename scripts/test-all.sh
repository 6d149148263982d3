#!/usr/bin/env bash
# Sets up and runs every test: the native suite, the same suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, the Windows suite under Wine in Xvfb, and the 32-bit build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh
scripts/build.sh native asan win64 win32

echo "== native tests"
ctest --test-dir build/native --output-on-failure -j2
echo "== sanitizer tests"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build/asan --output-on-failure -j2

echo "== Windows tests (win64 under Wine)"
. scripts/wine-env.sh
[ -d "$WINEPREFIX" ] || xvfb-run -a "$WINE64" wineboot -i >/dev/null 2>&1
xvfb-run -a ctest --test-dir build/win64 --output-on-failure
"$root/scripts/check-win32.sh"
