#!/usr/bin/env bash
# Sets up, builds and runs the main job on the bundled photo: the demo host fxdemo.exe opens
# the brightness and contrast dialog over samples/astronaut.bmp under Wine and, after OK,
# applies the chosen parameters to the whole picture.
#   With a display: the dialog is yours to use.
#   Without one (DISPLAY unset): it runs in Xvfb, a scripted user moves the sliders and
#   presses OK, and a screenshot of the open dialog is saved beside the result.
# Results go to out/ (BMP, and PNG copies).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh
scripts/build.sh win64 >/dev/null
. scripts/wine-env.sh
mkdir -p out
result=out/astronaut-brightness-contrast.bmp
shot=out/brightness-contrast-dialog.bmp
rm -f "$result" "$shot"

if [ -n "${DISPLAY:-}" ]; then
  "$WINE64" build/win64/bin/fxdemo.exe samples/astronaut.bmp "$result"
else
  [ -d "$WINEPREFIX" ] || xvfb-run -a "$WINE64" wineboot -i >/dev/null 2>&1
  xvfb-run -a -s "-screen 0 1024x768x24" \
    "$WINE64" build/win64/bin/fxdemo.exe --auto --screenshot "$shot" samples/astronaut.bmp "$result"
fi

for f in "$result" "$shot"; do
  [ -f "$f" ] && convert "$f" "${f%.bmp}.png" && echo "written: $root/${f%.bmp}.png"
done
[ -f "$result" ]
