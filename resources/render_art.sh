#!/usr/bin/env bash
# Renders the SVG sources in resources/art/ to the PNG and ICO files the
# build uses. Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert.
# Usage: resources/render_art.sh   (from any directory)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
art="$here/art"

for tool in rsvg-convert convert; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "render_art.sh: '$tool' not found (install librsvg2-bin and imagemagick)" >&2
    exit 1
  fi
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# render SVG SIZE OUT: a SIZE x SIZE PNG with alpha.
render() {
  rsvg-convert --format=png --width="$2" --height="$2" \
    --output="$3" "$1"
}

# Application icon. 16 px comes from the pixel-grid version.
render "$art/app_icon_small.svg" 16 "$work/icon_16.png"
for size in 32 48 64 256; do
  render "$art/app_icon.svg" "$size" "$work/icon_$size.png"
done

# PNG32: force 8-bit RGBA so every entry is stored with a full alpha channel.
# In an ICO, ImageMagick writes entries below 256 px as 32-bit BMP data and
# the 256 px entry as PNG.
convert \
  "PNG32:$work/icon_16.png" "PNG32:$work/icon_32.png" \
  "PNG32:$work/icon_48.png" "PNG32:$work/icon_64.png" \
  "PNG32:$work/icon_256.png" \
  -alpha on -depth 8 "ICO:$work/app_icon.ico"

convert "$work/icon_256.png" -alpha on -depth 8 "PNG32:$work/app_icon_256.png"

# 32 x 32 pictures for the dialog.
for name in cloud_download database_alert; do
  render "$art/$name.svg" 32 "$work/$name.raw.png"
  convert "$work/$name.raw.png" -alpha on -depth 8 "PNG32:$work/$name.png"
done

# Check the 256 px ICO entry really is PNG data: walk the ICO directory.
python3 - "$work/app_icon.ico" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
reserved, kind, count = struct.unpack_from("<HHH", data, 0)
assert reserved == 0 and kind == 1, "not an icon file"
sizes = []
for i in range(count):
    w, h, _, _, _, bpp, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
    w, h = w or 256, h or 256
    is_png = data[offset:offset + 8] == b"\x89PNG\r\n\x1a\n"
    if w == 256:
        assert is_png, "256 px entry is not stored as PNG"
    else:
        assert not is_png and struct.unpack_from("<H", data, offset + 14)[0] == 32, \
            f"{w} px entry is not a 32-bit BMP"
    sizes.append(w)
assert sorted(sizes) == [16, 32, 48, 64, 256], f"unexpected sizes {sizes}"
PY

mv "$work/app_icon.ico" "$here/app_icon.ico"
mv "$work/app_icon_256.png" "$here/app_icon_256.png"
mv "$work/cloud_download.png" "$here/cloud_download.png"
mv "$work/database_alert.png" "$here/database_alert.png"
echo "render_art.sh: wrote app_icon.ico, app_icon_256.png, cloud_download.png, database_alert.png"
