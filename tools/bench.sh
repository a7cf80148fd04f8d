#!/usr/bin/env bash
# Times the path table against `cmd /c dir /s /b` under Wine: builds the
# x86_64 programs, makes a tree of 100,000 files in 5,110 folders on drive C:
# of the test prefix, runs bench/table_bench.exe over it and removes the tree.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh x86_64

source tools/wine-env.sh
make_wine_prefix

name=mendora-bench-tree
tree="$WINEPREFIX/drive_c/$name"
own_server=false
trap 'rm -rf "$tree"; if $own_server; then stop_wineserver; fi' EXIT
rm -rf "$tree"
# Three levels of folders (10 x 10 x 50), 20 files in each of the 5,000
# deepest ones.
printf '%s\n' "$tree"/dir{0..9}/group{0..9}/folder{00..49} | xargs mkdir -p
printf '%s\n' "$tree"/dir{0..9}/group{0..9}/folder{00..49}/document_{00..19}.txt | xargs touch

# A wineserver already running in the prefix (a test run) serves as it is;
# one started here is stopped at the end.
if wineserver -p </dev/null >/dev/null 2>&1; then own_server=true; fi
loader=$(wine_loader)
[ "$loader" = wine ] || export WINELOADER="$loader"
"$loader" cmd /c exit </dev/null >/dev/null 2>&1 || true
# From inside the build tree (drive Y:) Wine has a working folder to start in.
cd build
../tools/wine-run.sh "$WINEPREFIX" x86_64/bench/table_bench.exe "C:\\$name"
