#!/usr/bin/env bash
# Runs every catalogue effect with representative parameters on a photo and writes a page of
# thumbnails, each with the effect's identifier, name and record:
#   scripts/gallery.sh [PHOTO] [FOLDER]      (defaults: samples/astronaut.bmp, out/gallery)
# PHOTO may be BMP, PNG or JPEG; effects that take only 8-bit pictures run on GREY_PHOTO
# (default samples/camera-grey.bmp). Open FOLDER/index.html in a browser. Builds fxapply natively
# (in FXUI_BUILD_DIR or build/) if needed; the runs take seconds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
photo=${1:-$root/samples/astronaut.bmp}
grey_photo=${GREY_PHOTO:-$root/samples/camera-grey.bmp}
folder=${2:-$root/out/gallery}
build=${FXUI_BUILD_DIR:-$root/build}/native

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target fxapply -j2 >/dev/null
fxapply=$build/bin/fxapply

# 256-entry curves for the two records that hold one.
darkening_curve() { local i; for ((i = 0; i < 256; i++)); do printf '%d ' $((i * i / 255)); done; }
identity_curve() { local i; for ((i = 0; i < 256; i++)); do printf '%d ' $i; done; }
mirror_curve() { local i; for ((i = 0; i < 256; i++)); do printf '%d ' $((i < 128 ? 2 * i : 2 * (255 - i))); done; }
sharpen_kernel="0 0 0 0 0  0 -1 -1 -1 0  0 -1 9 -1 0  0 -1 -1 -1 0  0 0 0 0 0"

# identifier | record fields, in order (empty: no record) [| grey: runs on the grey photo]
effects=(
  "1|0 20 40" "2|60 30" "3|0 $(darkening_curve)" "4|0 4" "5|" "6|" "7|128" "8|5 0" "9|5 2"
  "16|" "17|6 0" "18|5 150 2" "19|0" "20|4 1" "21|5 0" "22|1 0 128" "23|" "24|"
  "25|1 0 0 $sharpen_kernel" "32|2 40" "33|60" "34|50" "35|30" "36|40" "37|50 0xFFFFFF"
  "38|40" "39|30" "40|10" "41|60" "48|50" "49|40" "50|15" "51|1 0 0" "52|12 12" "53|5 16"
  "54|1 2 3 0x808080" "55|" "56|0 $(mirror_curve)" "57|1 15" "64|3 70" "65|20 40 0xFFFFFF"
  "66|" "67|20 30 -20 0" "68|4|grey" "70|200"
)

# Names and field names as fxapply lists them.
declare -A names fields
while IFS= read -r line; do
  id=$(echo "${line:0:3}" | tr -d ' ')
  names[$id]=$(echo "${line:5:28}" | sed 's/ *$//')
  fields[$id]=${line:34}
done < <("$fxapply" --list)

html_escape() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g'; }

# The record as "name = value" pairs; a curve is shown by its length.
describe_record() {
  local -a names_=($1) values=($2)
  local i=0 out="" name
  for name in "${names_[@]}"; do
    [ "$name" = "(no" ] && { echo "no record"; return; }
    if [ "$name" = "curve[256]" ]; then
      out+="curve = 256 levels; "
      i=$((i + 256))
    elif [ "$name" = kernel0 ]; then
      out+="kernel = ${values[*]:$i:25}; "
      break
    else
      out+="$name = ${values[$i]:-0}; "
      i=$((i + 1))
    fi
  done
  echo "${out%; }"
}

rm -rf "$folder"
mkdir -p "$folder"
# The original, through the identity curve.
"$fxapply" --quiet 3 "$photo" "$folder/original.png" 0 $(identity_curve)
cards=""
failed=0
for entry in "${effects[@]}"; do
  IFS='|' read -r id record on <<<"$entry"
  input=$photo
  [ "$on" = grey ] && input=$grey_photo
  # shellcheck disable=SC2086
  if "$fxapply" --quiet --seed 1 "$id" "$input" "$folder/effect-$id.png" $record 2>"$folder/error.txt"; then
    picture="<a href=\"effect-$id.png\"><img src=\"effect-$id.png\" alt=\"effect $id\"></a>"
  else
    picture="<div class=\"none\">$(html_escape <"$folder/error.txt")</div>"
    failed=$((failed + 1))
  fi
  cards+="<figure>$picture<figcaption><b>$id</b> $(echo "${names[$id]}" | html_escape)"
  [ "$on" = grey ] && cards+=" <i>(8-bit pictures only: on $(basename "$input" | html_escape))</i>"
  cards+="<br><code>$(describe_record "${fields[$id]}" "$record" | html_escape)</code></figcaption></figure>"$'\n'
done
rm -f "$folder/error.txt"

cat >"$folder/index.html" <<HTML
<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>fxUi effect gallery</title>
<style>
body { font: 14px/1.35 sans-serif; margin: 24px; background: #f4f4f4; color: #222; }
h1 { font-size: 20px; margin: 0 0 4px; }
p { margin: 0 0 16px; color: #555; }
main { display: grid; grid-template-columns: repeat(auto-fill, minmax(200px, 1fr)); gap: 14px; }
figure { margin: 0; background: #fff; border: 1px solid #ddd; border-radius: 4px; padding: 8px; }
img { width: 100%; height: auto; display: block; image-rendering: auto; }
.none { aspect-ratio: 1; display: flex; align-items: center; padding: 8px; font-size: 12px; color: #a00; background: #fee; }
figcaption { margin-top: 6px; font-size: 12px; }
code { font-size: 11px; color: #555; word-break: break-word; }
</style></head><body>
<h1>fxUi effect gallery</h1>
<p>Every catalogue effect on $(basename "$photo" | html_escape) with representative parameters
(made by <code>scripts/gallery.sh</code>; the random effects use seed 1). Click a picture for full size.</p>
<main>
<figure><a href="original.png"><img src="original.png" alt="original"></a><figcaption><b>original</b></figcaption></figure>
$cards</main>
</body></html>
HTML
echo "gallery: ${#effects[@]} effects ($failed without an image) in $folder/index.html"
