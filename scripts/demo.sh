#!/usr/bin/env bash
# Sets up, builds and runs the main job on the bundled photo: the demo host fxdemo.exe opens
# the effect browser over samples/astronaut.bmp under Wine and, after OK, applies the chosen
# effect with its parameters to the whole picture.
#   With a display: the browser is yours to use (any of its 28 effects).
#   Without one (DISPLAY unset): it runs in Xvfb, a scripted user walks through a few
#   entries, moving each dialog's first slider, saves a screenshot of each and presses OK.
# Results go to out/ (BMP, and PNG copies).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
builds=${FXUI_BUILD_DIR:-$root/build}

scripts/install-deps.sh
scripts/build.sh win64 >/dev/null
. scripts/wine-env.sh
mkdir -p out
result=out/astronaut-browser.bmp
shot=out/browser.bmp
rm -f "$result" out/browser-*.bmp out/browser-*.png

if [ -n "${DISPLAY:-}" ]; then
  "$WINE64" "$builds/win64/bin/fxdemo.exe" --browser samples/astronaut.bmp "$result"
else
  [ -d "$WINEPREFIX" ] || xvfb-run -a "$WINE64" wineboot -i >/dev/null 2>&1
  xvfb-run -a -s "-screen 0 1024x768x24" \
    "$WINE64" "$builds/win64/bin/fxdemo.exe" --browser --auto --screenshot "$shot" samples/astronaut.bmp "$result"
fi

for f in "$result" out/browser-*.bmp; do
  [ -f "$f" ] && convert "$f" "${f%.bmp}.png" && echo "written: $root/${f%.bmp}.png"
done
[ -f "$result" ]
