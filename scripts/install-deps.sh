#!/usr/bin/env bash
# Installs the Debian packages the builds and tests need, and sets up Wine's WoW64 mode for the
# 32-bit tests; does nothing when all is in place.
#   scripts/install-deps.sh           everything (native, mingw, Wine, WoW64, Xvfb, screenshots)
#   scripts/install-deps.sh native    only what the native build needs
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

native=(cmake g++ make libgtest-dev libgmock-dev googletest libbenchmark-dev)
windows=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 xvfb xauth x11-apps imagemagick)

packages=("${native[@]}")
[ "${1:-all}" = native ] || packages+=("${windows[@]}")

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
[ "${1:-all}" = native ] && exit 0

# Wine's WoW64 mode runs 32-bit Windows programs inside the 64-bit Wine process; it needs Wine's
# 32-bit Windows-side DLLs of exactly the installed version in Wine's own i386-windows folder.
# Debian ships them in libwine of the i386 architecture, fetched here with a private apt
# configuration so that the system's architectures stay as they are. Failing to fetch it is
# not an error: the 32-bit tests are then skipped (scripts/test-all.sh says so).
. "$root/scripts/wine-env.sh"
version=$(dpkg-query -W -f='${Version}' libwine:amd64)
[ "$(cat "$FXUI_WOW64_STAMP" 2>/dev/null)" = "$version" ] && wow64_ready && exit 0

echo "setting up Wine's WoW64 mode: libwine:i386 $version into $FXUI_WOW64_DLLS"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/deb" "$work/x"
apt_i386=(-o APT::Architecture=i386 -o APT::Architectures::=i386 -o Dir::State::Lists="$work/lists"
          -o Dir::Cache="$work/cache" -o Dir::State::status=/dev/null -o APT::Sandbox::User="$(id -un)")
# The update may report a failed index of another suite while the package is still found.
apt-get "${apt_i386[@]}" -qq update >"$work/update.log" 2>&1 || true
if ! (cd "$work/deb" && apt-get "${apt_i386[@]}" -qq download "libwine:i386=$version") >"$work/download.log" 2>&1; then
  echo "WoW64: cannot fetch libwine:i386 $version; the 32-bit tests will be skipped." >&2
  sed 's/^/  /' "$work/download.log" | tail -2 >&2
  exit 0
fi
dpkg-deb --fsys-tarfile "$work"/deb/libwine_*_i386.deb | tar -x -C "$work/x" --wildcards '*/wine/i386-windows/*'
dlls=$(find "$work/x" -type d -name i386-windows -print -quit)
if [ -z "$dlls" ] || [ ! -f "$dlls/kernel32.dll" ]; then
  echo "WoW64: libwine:i386 $version holds no i386-windows DLLs; the 32-bit tests will be skipped." >&2
  exit 0
fi
$sudo mkdir -p "$FXUI_WOW64_DLLS"
$sudo cp -r "$dlls/." "$FXUI_WOW64_DLLS/"
echo "$version" | $sudo tee "$FXUI_WOW64_STAMP" >/dev/null
echo "WoW64: $(ls "$dlls" | wc -l) DLLs in place"
