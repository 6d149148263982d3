#!/usr/bin/env bash
# Sets up, builds and runs the main job on the bundled photo: brightness and contrast on
# samples/astronaut.bmp, written to out/astronaut-brightness-contrast.bmp (and .png).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh native
scripts/build.sh native
mkdir -p out
result=out/astronaut-brightness-contrast.bmp
# All channels, brightness +20, contrast +30.
build/native/bin/fxapply 1 samples/astronaut.bmp "$result" 0 20 30
if command -v convert >/dev/null && convert -version 2>/dev/null | grep -q ImageMagick; then
  convert "$result" "${result%.bmp}.png"
  echo "result: $root/$result (and ${result%.bmp}.png)"
else
  echo "result: $root/$result"
fi
