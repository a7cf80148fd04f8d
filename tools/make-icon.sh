#!/usr/bin/env bash
# Makes the program icons, at 16, 32 and 48 pixels: Mendora's
# (shell/skin/art/mendora.ico, a white shield with a check mark on a blue
# rounded square), Parleclient's (chat/client/art/parleclient.ico, a white
# speech bubble on the same square) and MendoraUpdater's
# (updater/window/art/updater.ico, a white downward arrow into a tray), the
# device window's (sysinfo/art/devices.ico, a chip) and the twelve 16-pixel
# pictures of the Windows information list (sysinfo/art/info_images.bmp, on
# magenta, which the image list takes as transparent). The results are
# checked in; run this again after changing them. Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# make_icon OUT DRAWING...: drawn once at 256 pixels on the rounded square and
# scaled down, without time stamps or profiles, so that every run gives the
# same bytes.
make_icon() {
  local out=$1
  shift
  mkdir -p "$(dirname "$out")"
  convert -size 256x256 xc:none \
    -fill '#1f5a8c' -draw "roundrectangle 8,8 247,247 48,48" \
    -fill '#4f86b5' -draw "roundrectangle 20,20 235,235 40,40" \
    "$@" -strip "$tmp/big.png"
  for size in 16 32 48; do
    convert "$tmp/big.png" -resize ${size}x${size} -strip PNG32:"$tmp/icon$size.png"
  done
  convert "$tmp/icon16.png" "$tmp/icon32.png" "$tmp/icon48.png" -strip "$out"
  ls -l "$out"
}

make_icon shell/skin/art/mendora.ico \
  -fill white -draw "path 'M 128,44 L 196,72 L 196,132 C 196,176 164,204 128,218 C 92,204 60,176 60,132 L 60,72 Z'" \
  -stroke '#23894f' -strokewidth 20 -fill none -draw "polyline 94,132 120,160 166,102"

make_icon chat/client/art/parleclient.ico \
  -fill white -draw "roundrectangle 48,56 208,164 36,36" \
  -draw "polygon 84,156 72,206 128,160" \
  -fill '#1f5a8c' -draw "circle 88,110 88,124" -draw "circle 128,110 128,124" \
  -draw "circle 168,110 168,124"

make_icon updater/window/art/updater.ico \
  -fill white -draw "polygon 108,52 148,52 148,120 184,120 128,176 72,120 108,120" \
  -draw "roundrectangle 56,186 200,206 8,8"

make_icon sysinfo/art/devices.ico \
  -fill white -draw "roundrectangle 72,72 184,184 12,12" \
  -fill '#1f5a8c' -draw "rectangle 96,96 160,160" \
  -stroke white -strokewidth 12 \
  -draw "line 92,40 92,64" -draw "line 128,40 128,64" -draw "line 164,40 164,64" \
  -draw "line 92,192 92,216" -draw "line 128,192 128,216" -draw "line 164,192 164,216" \
  -draw "line 40,92 64,92" -draw "line 40,128 64,128" -draw "line 40,164 64,164" \
  -draw "line 192,92 216,92" -draw "line 192,128 216,128" -draw "line 192,164 216,164"

# list_picture OUT DRAWING...: one 16-pixel picture, drawn at 64 and scaled
# down without smoothing into magenta, so that edges stay crisp.
list_picture() {
  local out=$1
  shift
  convert -size 64x64 xc:'#ff00ff' "$@" -filter point -resize 16x16 -strip "$out"
}
# 0 item: a blue dot; 1 heading: a folder; 7 system heading: a window with
# four panes; 11 system item: a small window; the rest plain squares.
list_picture "$tmp/p0.png" -fill '#1f5a8c' -draw "circle 32,32 32,16"
list_picture "$tmp/p1.png" -fill '#d9a520' -draw "rectangle 4,16 28,24" -draw "rectangle 4,22 60,56"
for i in 2 3 4 5 6 8 9 10; do
  list_picture "$tmp/p$i.png" -fill '#8c8c8c' -draw "rectangle 12,12 52,52"
done
list_picture "$tmp/p7.png" -fill '#1f5a8c' -draw "rectangle 4,4 30,30" \
  -fill '#4f86b5' -draw "rectangle 34,4 60,30" -fill '#4f86b5' -draw "rectangle 4,34 30,60" \
  -fill '#1f5a8c' -draw "rectangle 34,34 60,60"
list_picture "$tmp/p11.png" -fill '#1f5a8c' -draw "rectangle 8,12 56,52" \
  -fill white -draw "rectangle 14,22 50,46"
convert "$tmp"/p{0,1,2,3,4,5,6,7,8,9,10,11}.png +append -type TrueColor -strip \
  BMP3:sysinfo/art/info_images.bmp
ls -l sysinfo/art/info_images.bmp
