# Sourced by the scripts that run Windows programs: a Wine prefix inside the win64 build
# folder, quiet, without the optional .NET and HTML runtimes.
export WINEPREFIX="${WINEPREFIX:-${FXUI_BUILD_DIR:-$root/build}/win64/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE64=$(command -v wine64 || echo /usr/lib/wine/wine64)
