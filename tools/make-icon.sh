#!/usr/bin/env bash
# Makes the program icons, at 16, 32 and 48 pixels: Mendora's
# (shell/skin/art/mendora.ico, a white shield with a check mark on a blue
# rounded square), Parleclient's (chat/client/art/parleclient.ico, a white
# speech bubble on the same square) and MendoraUpdater's
# (updater/window/art/updater.ico, a white downward arrow into a tray). The results are checked in; run this
# again after changing them. Needs ImageMagick.
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
