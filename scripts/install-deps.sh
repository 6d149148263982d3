#!/usr/bin/env bash
# Installs the Debian packages the builds and tests need; does nothing when all are present.
#   scripts/install-deps.sh           everything (native, mingw, Wine, Xvfb, screenshots)
#   scripts/install-deps.sh native    only what the native build needs
set -euo pipefail

native=(cmake g++ make libgtest-dev libgmock-dev googletest libbenchmark-dev libstb-dev)
windows=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 xvfb xauth x11-apps imagemagick)

packages=("${native[@]}")
[ "${1:-all}" = native ] || packages+=("${windows[@]}")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
