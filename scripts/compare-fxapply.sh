#!/usr/bin/env bash
# Runs every catalogue effect with the native fxapply and with a Windows fxapply.exe under Wine
# over the sample photos and checks that both give the same exit status and byte-identical
# files. The floating-point effects (warps, hue and saturation, tone adjustment, ribbon,
# cylinder, Magic Mirror's mappings) get several rows; the dialogs' own curves are compared
# through fxcurvedump.
#   scripts/compare-fxapply.sh NATIVE_FXAPPLY WINDOWS_FXAPPLY_EXE OUT_DIR
# Wine runs with the caller's WINEPREFIX (run it under Xvfb, see scripts/test-all.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
native=$1 windows=$2 out=$3
. "$root/scripts/wine-env.sh"
photos=("$root/samples/coffee.bmp" "$root/samples/camera-grey.bmp")

# A 256-entry curve as the 256 bytes that fxapply takes: curve(i) by awk, clamped to 0 ... 255.
curve() {
  awk "BEGIN { for (i = 0; i < 256; i++) { c = int($1); printf \"%d \", c < 0 ? 0 : (c > 255 ? 255 : c) } }"
}
wave=$(curve '127.5 + 127.5 * sin(i / 23)')
fold=$(curve '(i < 128 ? 2 * i : 2 * (255 - i))')
steep=$(curve '255 * (i / 255) ^ 0.4')

# effect  fields (every row must give an image on at least one photo)
rows=(
  "1 0 20 30" "1 2 -40 -127"
  "2 35 40" "2 -120 -70" "2 180 100"
  "3 0 $steep" "3 2 $wave"
  "4 0 5" "4 3 17"
  "5" "6" "7 100" "7 0"
  "8 5 0" "8 31 0" "9 4 3" "16" "17 3 0" "17 7 0" "17 31 0" "18 5 150 4" "18 31 500 0" "19 0" "19 1"
  "20 3 1" "20 4 0" "20 31 0" "21 2 0" "21 3 0" "21 5 0" "22 1 0 40" "22 1 2 90"
  "25 9 10 0 1 2 3 2 1 2 -4 5 -4 2 3 5 9 5 3 2 -4 5 -4 2 1 2 3 2 1"
  "32 1 30" "32 2 60"
  "33 50" "34 40" "35 30" "36 60" "37 70 0x203040" "38 25" "39 30" "40 2"
  "41 60" "48 45" "49 70" "50 35" "55"
  "57 1 40" "57 2 80" "57 3 1" "57 4 1"
  "64 1 30" "64 2 0" "64 3 100"
  "51 1 0 0" "51 2 1 1" "52 8 6" "53 3 12" "53 8 32"
  "54 2 3 4 0x102030" "54 7 4 2 0x805020"
  "56 0 $fold" "56 1 $wave" "56 2 $wave" "56 3 $fold" "56 2 $steep" "56 3 $steep"
  "65 37 55 0x00FF00" "65 100 100 0x102030"
  "66"
  "67 40 -35 -20 0" "67 -30 60 25 1" "67 0 -100 0 3"
  "68 3" "70 128" "70 -200"
)

mkdir -p "$out"
rm -f "$out"/*.bmp
fail=0 runs=0
for r in "${!rows[@]}"; do
  read -r -a fields <<<"${rows[$r]}"
  made=0
  for photo in "${photos[@]}"; do
    name=$(basename "$photo" .bmp)-row$r-effect${fields[0]}
    set +e
    "$native" --seed 20 --quiet "${fields[0]}" "$photo" "$out/$name-native.bmp" "${fields[@]:1}" 2>/dev/null
    status_native=$?
    for attempt in 1 2; do
      "$WINE64" "$windows" --seed 20 --quiet "${fields[0]}" "$photo" "$out/$name-windows.bmp" "${fields[@]:1}" \
        2>"$out/$name-windows.err"
      status_windows=$?
      # Wine now and then fails to start a program or a file call under load: a second run
      # tells such a hiccup apart from a real difference.
      [ $status_native -ne $status_windows ] || break
    done
    set -e
    runs=$((runs + 1))
    if [ $status_native -ne $status_windows ]; then
      echo "effect ${fields[0]} (row $r) on $(basename "$photo"): exit $status_native natively, $status_windows in Windows"
      sed 's/^/  /' "$out/$name-windows.err"
      fail=1
    elif [ $status_native -eq 0 ]; then
      made=$((made + 1))
      cmp -s "$out/$name-native.bmp" "$out/$name-windows.bmp" || {
        echo "effect ${fields[0]} (row $r) on $(basename "$photo"): the files differ ($out/$name-*.bmp)"
        fail=1
      }
    fi
  done
  [ $made -gt 0 ] || { echo "effect ${fields[0]} (row $r): no photo gave an image, the row checks nothing"; fail=1; }
done
[ $fail -eq 0 ] && echo "fxapply: $(basename "$windows") and the native tool agree on ${#rows[@]} rows, $runs runs"

# The dialogs' floating-point curves (Magic Mirror functions, Tone Adjustment display curve),
# printed by fxcurvedump beside each fxapply.
"$(dirname "$native")/fxcurvedump" >"$out/curves-native.txt"
"$WINE64" "$(dirname "$windows")/fxcurvedump.exe" | tr -d '\r' >"$out/curves-windows.txt"
if [ ! -s "$out/curves-native.txt" ] || ! cmp -s "$out/curves-native.txt" "$out/curves-windows.txt"; then
  echo "fxcurvedump: the curves differ ($out/curves-*.txt)"
  fail=1
else
  echo "fxcurvedump: $(wc -l <"$out/curves-native.txt") curves agree" && rm -f "$out"/curves-*.txt
fi
[ $fail -eq 0 ] && rm -f "$out"/*.bmp "$out"/*.err
exit $fail
