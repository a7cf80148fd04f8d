#!/usr/bin/env bash
# Makes the main window's skin: the background and the normal, hover and
# pressed pictures of every picture button, as JPEGs in shell/skin/art, and the
# resource script that embeds them (shell/skin/art/skin.rc). The results are
# checked in; run this again after changing it. Needs ImageMagick and the
# DejaVu fonts (tools/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
out=shell/skin/art
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fonts=/usr/share/fonts/truetype/dejavu
sans="$fonts/DejaVuSans.ttf"
bold="$fonts/DejaVuSans-Bold.ttf"
condensed="$fonts/DejaVuSansCondensed-Bold.ttf"
# The same bytes on every run: no time stamps or profiles in the files.
jpeg=(-strip -define jpeg:optimize-coding=true -sampling-factor 1x1 -quality 92)

W=733
H=553

# --- background ------------------------------------------------------------
# A calm blue gradient, a header with the product name, a faint card behind
# the tool buttons on the left and the white card the panels sit on.
convert -size ${W}x${H} gradient:'#173a5e'-'#4f86b5' \
  \( -size ${W}x140 gradient:'#0f2a47'-'#1b4670' \) -geometry +0+0 -composite \
  \( -size ${W}x${H} xc:none -fill 'rgba(255,255,255,0.06)' \
     -draw "ellipse 560,-40 420,170 0,360" \
     -fill 'rgba(255,255,255,0.05)' -draw "ellipse 120,600 380,200 0,360" \) -composite \
  -fill 'rgba(255,255,255,0.18)' -draw "rectangle 0,139 $((W - 1)),139" \
  -font "$bold" -pointsize 38 -fill white -annotate +30+62 'Mendora' \
  -font "$sans" -pointsize 13 -fill '#a9cbea' -annotate +33+88 'System care for your Windows PC' \
  \( -size ${W}x${H} xc:none -fill 'rgba(0,0,0,0.28)' \
     -draw "roundrectangle 274,132 725,471 16,16" -blur 0x5 \) -composite \
  -fill white -draw "roundrectangle 272,128 721,465 14,14" \
  -fill 'rgba(255,255,255,0.10)' -stroke 'rgba(255,255,255,0.22)' -strokewidth 1 \
  -draw "roundrectangle 44,150 264,382 14,14" -stroke none \
  -fill 'rgba(255,255,255,0.22)' -draw "rectangle 30,494 $((W - 31)),494" \
  -font "$sans" -pointsize 11 -fill '#d6e6f5' -gravity north \
  -annotate +0+506 'Mendora  ·  scan, repair and restore with a backup of every change' \
  -gravity northwest \
  "$tmp/background.png"
convert "$tmp/background.png" "${jpeg[@]}" "$out/background.jpg"

# --- buttons ---------------------------------------------------------------
# crop_base X Y W H OUT: the background under a button on the window, so that
# the button's rounded corners blend with it.
crop_base() {
  convert "$tmp/background.png" -crop "$3x$4+$1+$2" +repage "$5"
}

# pill BASE OUT W H RADIUS TOP BOTTOM BORDER: a rounded, vertically shaded
# face with a one-pixel border drawn over BASE.
pill() {
  local base=$1 outp=$2 w=$3 h=$4 r=$5 top=$6 bottom=$7 border=$8
  convert "$base" \
    \( -size "${w}x${h}" gradient:"$top"-"$bottom" -alpha set \
       \( -size "${w}x${h}" xc:none -fill white \
          -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) $r,$r" \) \
       -compose DstIn -composite \) \
    -compose Over -composite \
    -fill none -stroke "$border" -strokewidth 1 \
    -draw "roundrectangle 0.5,0.5 $((w - 1)).5,$((h - 1)).5 $r,$r" \
    "$outp"
}

# label IN OUT TEXT POINTS COLOUR DX DY: centred text.
label() {
  convert "$1" -font "$bold" -pointsize "$4" -fill "$5" -gravity center \
    -annotate "+$6+$7" "$3" "$2"
}

save() {  # save PNG NAME
  convert "$1" "${jpeg[@]}" "$out/$2.jpg"
}

resources=()
add_resources() {  # add_resources STEM
  local stem=$1 upper
  upper=$(echo "$stem" | tr '[:lower:]' '[:upper:]')
  for state in normal hover pressed; do
    resources+=("${upper}_$(echo $state | tr '[:lower:]' '[:upper:]') RCDATA \"$stem""_$state.jpg\"")
  done
}

# Panel buttons: on the white panels. STEM TEXT W H TOP BOTTOM (normal colours)
panel_button() {
  local stem=$1 text=$2 w=$3 h=$4 top=$5 bottom=$6 hovtop=$7 hovbottom=$8 border=$9
  convert -size "${w}x${h}" xc:white PNG24:"$tmp/white.png"
  pill "$tmp/white.png" "$tmp/n.png" "$w" "$h" 12 "$top" "$bottom" "$border"
  label "$tmp/n.png" "$tmp/n2.png" "$text" 15 white 0 0
  save "$tmp/n2.png" "${stem}_normal"
  pill "$tmp/white.png" "$tmp/h.png" "$w" "$h" 12 "$hovtop" "$hovbottom" "$border"
  label "$tmp/h.png" "$tmp/h2.png" "$text" 15 white 0 0
  save "$tmp/h2.png" "${stem}_hover"
  pill "$tmp/white.png" "$tmp/p.png" "$w" "$h" 12 "$bottom" "$top" "$border"
  label "$tmp/p.png" "$tmp/p2.png" "$text" 15 '#e8f0f6' 1 1
  save "$tmp/p2.png" "${stem}_pressed"
  add_resources "$stem"
}

panel_button start_scan 'Start Scan' 177 49 '#4cc07e' '#23894f' '#62d493' '#2c9a5c' '#1d7443'
panel_button make_repairs 'Make Repairs' 177 49 '#4cc07e' '#23894f' '#62d493' '#2c9a5c' '#1d7443'
panel_button optimize 'Optimize' 177 49 '#5aa2dc' '#2d6ea6' '#72b4ea' '#367db8' '#255b8a'
panel_button problem_report 'Problem Report' 177 49 '#5aa2dc' '#2d6ea6' '#72b4ea' '#367db8' '#255b8a'
panel_button cancel_scan 'Cancel Scan' 177 49 '#ef8a5b' '#c75b2c' '#f7a27a' '#d46a3a' '#a84a20'
panel_button dont_repair "Don't Repair" 177 49 '#a7b3bf' '#75828f' '#bac5cf' '#85929f' '#64707c'

# Header buttons: glassy outlines on the dark header. STEM TEXT X Y W H POINTS
header_button() {
  local stem=$1 text=$2 x=$3 y=$4 w=$5 h=$6 pts=$7 r=$8
  crop_base "$x" "$y" "$w" "$h" "$tmp/base.png"
  pill "$tmp/base.png" "$tmp/n.png" "$w" "$h" "$r" 'rgba(255,255,255,0.16)' 'rgba(255,255,255,0.06)' 'rgba(255,255,255,0.45)'
  label "$tmp/n.png" "$tmp/n2.png" "$text" "$pts" white 0 0
  save "$tmp/n2.png" "${stem}_normal"
  pill "$tmp/base.png" "$tmp/h.png" "$w" "$h" "$r" 'rgba(255,255,255,0.34)' 'rgba(255,255,255,0.16)' 'rgba(255,255,255,0.75)'
  label "$tmp/h.png" "$tmp/h2.png" "$text" "$pts" white 0 0
  save "$tmp/h2.png" "${stem}_hover"
  pill "$tmp/base.png" "$tmp/p.png" "$w" "$h" "$r" 'rgba(0,0,0,0.30)' 'rgba(0,0,0,0.15)' 'rgba(255,255,255,0.55)'
  label "$tmp/p.png" "$tmp/p2.png" "$text" "$pts" '#dce9f5' 1 1
  save "$tmp/p2.png" "${stem}_pressed"
  add_resources "$stem"
}

header_button restore 'Restore' 416 80 121 30 13 13
header_button update 'Update' 544 80 89 36 13 14

# Window buttons: round, with a drawn glyph. STEM X Y GLYPH-DRAW HOVER-FILL
window_button() {
  local stem=$1 x=$2 y=$3 glyph=$4 hover=$5 pressed=$6
  crop_base "$x" "$y" 33 33 "$tmp/base.png"
  for state in normal hover pressed; do
    local fill
    case $state in
      normal) fill='rgba(255,255,255,0.14)' ;;
      hover) fill=$hover ;;
      pressed) fill=$pressed ;;
    esac
    convert "$tmp/base.png" \
      -fill "$fill" -stroke 'rgba(255,255,255,0.55)' -strokewidth 1 \
      -draw "circle 16,16 16,1" \
      -stroke white -strokewidth 2.2 -fill none -draw "$glyph" \
      "$tmp/w.png"
    save "$tmp/w.png" "${stem}_${state}"
  done
  add_resources "$stem"
}

window_button minimize 648 16 "line 10,17 22,17" 'rgba(255,255,255,0.34)' 'rgba(0,0,0,0.30)'
window_button close 682 16 "line 11,11 21,21 line 21,11 11,21" 'rgba(214,64,52,0.90)' 'rgba(150,36,28,0.95)'

# Tool buttons on the left: a round icon, a title and a line below it.
# STEM TITLE SUBTITLE X Y W H ICON-TEXT
tool_button() {
  local stem=$1 title=$2 sub=$3 x=$4 y=$5 w=$6 h=$7 icon=$8
  crop_base "$x" "$y" "$w" "$h" "$tmp/base.png"
  local cy=$((h / 2))
  for state in normal hover pressed; do
    local top bottom border dy=0 iconfill='#ffffff' icontext='#1f5a8c'
    case $state in
      normal) top='rgba(255,255,255,0.10)'; bottom='rgba(255,255,255,0.03)'; border='rgba(255,255,255,0.30)' ;;
      hover) top='rgba(255,255,255,0.28)'; bottom='rgba(255,255,255,0.14)'; border='rgba(255,255,255,0.70)' ;;
      pressed) top='rgba(0,0,0,0.28)'; bottom='rgba(0,0,0,0.14)'; border='rgba(255,255,255,0.50)'; dy=1; iconfill='#dbe8f4' ;;
    esac
    pill "$tmp/base.png" "$tmp/t.png" "$w" "$h" 12 "$top" "$bottom" "$border"
    convert "$tmp/t.png" \
      -fill "$iconfill" -stroke none -draw "circle 28,$((cy + dy)) 28,$((cy + dy - 15))" \
      \( -size 34x34 xc:none -font "$bold" -pointsize 19 -fill "$icontext" -gravity center \
         -annotate +0+0 "$icon" \) -gravity northwest -geometry "+11+$((cy - 17 + dy))" -composite \
      -font "$condensed" -pointsize 12 -fill white -annotate "+52+$((cy - 19 + dy))" "$title" \
      -font "$sans" -pointsize 10 -fill '#cfe1f2' -annotate "+52+$((cy + 3 + dy))" "$sub" \
      "$tmp/t2.png"
    save "$tmp/t2.png" "${stem}_${state}"
  done
  add_resources "$stem"
}

tool_button windows_info 'Windows Information' 'About this PC' 60 163 197 62 'i'
tool_button products 'Products' 'More tools from Mendora' 61 235 196 60 '+'
tool_button support_chat 'Support Chat' 'Talk to our technicians' 62 305 195 64 '?'

# --- resource script -------------------------------------------------------
{
  echo "// Made by tools/make-artwork.sh: the main window's skin pictures."
  echo "SKIN_BACKGROUND RCDATA \"background.jpg\""
  for r in "${resources[@]}"; do echo "$r"; done
} >"$out/skin.rc"

du -ch "$out"/*.jpg | tail -n 1
