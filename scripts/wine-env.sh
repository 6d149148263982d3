# Sourced by the scripts that run Windows programs: a Wine prefix inside the win64 build
# folder (WINEPREFIX32: the win32 build's, for Wine's WoW64 mode), quiet, without the optional
# .NET and HTML runtimes. wow64_ready tells whether Wine's 32-bit Windows-side DLLs are in place.
fxui_out=${FXUI_BUILD_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build}
export WINEPREFIX="${WINEPREFIX:-$fxui_out/win64/wineprefix}"
WINEPREFIX32="$fxui_out/win32/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE64=$(command -v wine64 || echo /usr/lib/wine/wine64)
# (awk reads the whole list: under pipefail an early exit would fail the pipeline)
FXUI_WOW64_DLLS=$(dpkg -L libwine:amd64 2>/dev/null |
                  awk '/\/wine\/x86_64-windows$/ && !found { sub(/x86_64-windows$/, "i386-windows"); print; found = 1 }' || true)
FXUI_WOW64_DLLS=${FXUI_WOW64_DLLS:-/usr/lib/x86_64-linux-gnu/wine/i386-windows}
FXUI_WOW64_STAMP="$FXUI_WOW64_DLLS/.libwine-i386-version"
wow64_ready() { [ -f "$FXUI_WOW64_DLLS/kernel32.dll" ] && [ -f "$FXUI_WOW64_DLLS/ntdll.dll" ]; }
