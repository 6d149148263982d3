#!/usr/bin/env bash
# Checks that the 32-bit DLL exports every function by its plain name and needs no DLL beyond
# the system's (its behaviour is tested under Wine's WoW64 mode by scripts/test-all.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dll="${FXUI_BUILD_DIR:-$root/build}/win32/bin/fxUi.dll"
dump=$(i686-w64-mingw32-objdump -p "$dll")
fail=0
for name in ApplyEffect GetFxBrowserParam GetFxParam GetFxuiBackgroundSetting SetFxAbortHook SetFxProgressHook; do
  grep -qE "^\s*\[ *[0-9]+\] $name\$" <<<"$dump" || { echo "win32: $name is not exported undecorated"; fail=1; }
done
imports=$(grep 'DLL Name' <<<"$dump" | awk '{print $3}' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
for dll_name in $imports; do
  case $dll_name in
    kernel32.dll|user32.dll|gdi32.dll|comdlg32.dll|msvcrt.dll|ymdll.dll) ;;
    *) echo "win32: fxUi.dll imports $dll_name"; fail=1 ;;
  esac
done
[ $fail -eq 0 ] && echo "win32: fxUi.dll exports and imports as expected ($imports)"
exit $fail
