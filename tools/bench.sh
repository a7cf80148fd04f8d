#!/usr/bin/env bash
# Benchmarks (not tests), each beside a reference measured in the same run:
#   bash tools/bench.sh [table]   the path table against `cmd /c dir /s /b` and
#                                 a minimal FindFirstFileExA walk
#                                 over 100,000 files on drive C: of the prefix
#   bash tools/bench.sh download  a 20 MB download from the update server on
#                                 loopback by the updater's download path,
#                                 against curl fetching the same file
#   bash tools/bench.sh scan      Mendora's whole scan, repair and restore on
#                                 a PC-sized machine (bench/make_pc.py) at a
#                                 tenth, half and all of its size, against
#                                 `reg query /s`, `dir /s /b` and a plain copy
#                                 (MENDORA_BENCH_SCALES="0.1 0.5 1" by default)
set -euo pipefail
cd "$(dirname "$0")/.."
what=${1:-table}
bash tools/install-deps.sh
# The same options as the test command, so that the two share one build.
MENDORA_WERROR=ON bash tools/build.sh x86_64

source tools/wine-env.sh
make_wine_prefix

if [ "$what" = scan ]; then
  exec bash tools/scan-bench.sh
fi

if [ "$what" = download ]; then
  site=$(mktemp -d)
  trap 'rm -rf "$site"; stop_wineserver' EXIT
  head -c $((20 << 20)) /dev/urandom >"$site/big.bin"
  echo "big.bin 1" >"$site/manifest.txt"
  start_wineserver
  target="$WINEPREFIX/drive_c/mendora-bench-download.bin"
  # Inside the update server's run, which names its address.
  python3 updater/server/update_server.py --port 0 --folder "$site" --run bash -c '
    set -e
    file="${MENDORA_UPDATE_SERVER%/download.asp}/files/big.bin"
    echo "20 MB from $file"
    cd build
    for round in 1 2 3; do
      ../tools/wine-run.sh "$WINEPREFIX" x86_64/bench/download_bench.exe "$file" \
        "C:\\mendora-bench-download.bin"
      /usr/bin/time -f "curl:             %e s, peak memory %M KB" \
        curl -s -o /dev/null "$file"
    done' 2>&1 | grep -v '^update_server:'
  cmp "$site/big.bin" "$target" && echo "The downloaded file is whole."
  rm -f "$target"
  exit 0
fi

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
