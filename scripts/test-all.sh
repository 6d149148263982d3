#!/usr/bin/env bash
# Sets up and runs every test: the native suite, the same suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, the Windows suite under Wine in Xvfb for win64 and, under Wine's
# WoW64 mode, for the shipping 32-bit build, fxapply.exe against the native tool in both, and
# the 32-bit DLL's exports and imports. FXUI_BUILD_DIR moves the build folders (default build/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
out=${FXUI_BUILD_DIR:-$root/build}

scripts/install-deps.sh
scripts/build.sh native asan win64 win32

echo "== native tests"
ctest --test-dir "$out/native" --output-on-failure -j2
echo "== sanitizer tests"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir "$out/asan" --output-on-failure -j2

. scripts/wine-env.sh
# Runs the Windows suite of one build in Xvfb in the build's own prefix (made on first use,
# and made again when it lacks the 32-bit system folder that WoW64 needs), then fxapply.exe
# against the native tool. The prefix's wineserver is waited for before and after, so that
# no run meets a server whose display has gone.
windows_suite() {
  local build=$1 prefix=$2 made=$2/system.reg status=0
  [ "$build" = win32 ] && made=$prefix/drive_c/windows/syswow64/kernel32.dll
  WINEPREFIX=$prefix wineserver -w
  if [ ! -f "$made" ]; then
    rm -rf "$prefix"
    WINEPREFIX=$prefix xvfb-run -a "$WINE64" wineboot -i >/dev/null 2>&1
    WINEPREFIX=$prefix wineserver -w
  fi
  # Windows not managed by a window manager: Xvfb has none, and Wine would otherwise wait up
  # to two seconds for one at every dialog that closes.
  if ! grep -q '"Managed"="N"' "$prefix/user.reg" 2>/dev/null; then
    WINEPREFIX=$prefix xvfb-run -a "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    WINEPREFIX=$prefix wineserver -w
  fi
  WINEPREFIX=$prefix xvfb-run -a bash -c '
    ctest --test-dir "$1/$2" --output-on-failure || status=$?
    scripts/compare-fxapply.sh "$1/native/bin/fxapply" "$1/$2/bin/fxapply.exe" "$1/$2/fxapply-compare" || status=$?
    exit ${status:-0}' - "$out" "$build" || status=$?
  WINEPREFIX=$prefix wineserver -w
  # ctest shows a passing executable's output only on failure: list the checks skipped inside.
  grep -ho "[^]]*needs [A-Za-z]*(), which fails here: .*" "$out/$build/Testing/Temporary/LastTest.log" 2>/dev/null |
    sed 's/^ *//' | sort | uniq -c | sed "s/^/$build skipped: /" || true
  return $status
}

echo "== Windows tests (win64 under Wine)"
windows_suite win64 "$WINEPREFIX"
echo "== Windows tests (win32 under Wine's WoW64 mode)"
if wow64_ready; then
  windows_suite win32 "$WINEPREFIX32"
else
  echo "skipped: Wine's 32-bit Windows DLLs are not in $FXUI_WOW64_DLLS (scripts/install-deps.sh could not fetch libwine:i386)"
fi
scripts/check-win32.sh
