#!/usr/bin/env bash
# Makes the release package in build/package/: the installer
# MendoraSetup-<version>.exe from a stripped i686 release build, and beside it
# Mendora-<version>-debug/ with the debug information of every program and
# library (each stripped file names its .debug file), for crash reports.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
version=$(head -n 1 VERSION)
tree=build/release-i686
bash tools/build-libjpeg.sh i686
cmake -S . -B "$tree" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMENDORA_WERROR=ON >/dev/null
cmake --build "$tree" --target Mendora Parleclient MendoraUpdater rptrnr fetchkit

out=build/package
stage="$out/stage"
debug="$out/Mendora-$version-debug"
rm -rf "$stage" "$debug"
mkdir -p "$stage/sounds" "$debug"
for built in shell/Mendora.exe chat/client/Parleclient.exe updater/window/MendoraUpdater.exe \
             repair/engine/rptrnr.dll updater/fetchkit/fetchkit.dll; do
  name=$(basename "$built")
  i686-w64-mingw32-objcopy --only-keep-debug "$tree/$built" "$debug/$name.debug"
  i686-w64-mingw32-objcopy --strip-all --add-gnu-debuglink="$debug/$name.debug" \
    "$tree/$built" "$stage/$name"
done
cp chat/sounds/*.wav "$stage/sounds/"
setup="$out/MendoraSetup-$version.exe"
makensis -V2 -DVERSION="$version" -DSTAGE="$(realpath "$stage")" \
  -DOUTFILE="$(realpath "$out")/MendoraSetup-$version.exe" installer/mendora.nsi
echo "Made $setup ($(stat -c %s "$setup") bytes); debug information in $debug/"
