#!/usr/bin/env bash
# Runs a Windows program at another DPI: run-at-dpi.sh PREFIX DPI PROGRAM [ARGS...]
#
# Wine reads the DPI from the prefix's registry whenever a process starts, so
# setting it in PREFIX would reach every program started there meanwhile (the
# other tests of a parallel run). The program runs instead in a prefix of its
# own beside PREFIX, with a wineserver of its own: a copy of PREFIX's
# registry at that DPI over PREFIX's drives. It goes again at the end.
set -u
base="$1"
dpi="$2"
shift 2
scaled="$base-dpi$dpi"
export WINEPREFIX_OVERRIDE="$scaled"
source "$(dirname "$0")/wine-env.sh"

WINEPREFIX="$scaled" wineserver -k >/dev/null 2>&1 || true
rm -rf "$scaled"
mkdir -p "$scaled/dosdevices"
cp "$base"/*.reg "$base/.update-timestamp" "$scaled/"
ln -s "$base/drive_c" "$scaled/drive_c"
ln -s "$base/drive_d" "$scaled/drive_d"
# The drive links as they are: the relative ones now lead through the links
# above.
cp -P "$base"/dosdevices/* "$scaled/dosdevices/"
finish() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$scaled"
}
trap finish EXIT

loader=$(wine_loader)
[ "$loader" = wine ] || export WINELOADER="$loader"
wineserver -p </dev/null >/dev/null 2>&1
"$loader" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
  </dev/null >/dev/null 2>&1
# Wine's own service processes start with the first program: not with the
# pipes of whoever started this script, or it would wait for them.
"$loader" cmd /c exit </dev/null >/dev/null 2>&1
loader=$(wine_loader_for "$1")
[ "$loader" = wine ] || export WINELOADER="$loader"
"$loader" "$@"
