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
bash tools/build-libsodium.sh i686
cmake -S . -B "$tree" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMENDORA_WERROR=ON -DMENDORA_TRUST_TEST_KEY=OFF >/dev/null
cmake --build "$tree" --target Mendora Parleclient MendoraUpdater rptrnr fetchkit

out=build/package
stage="$out/stage"
debug="$out/Mendora-$version-debug"
rm -rf "$stage" "$debug"
mkdir -p "$stage" "$debug"
source tools/installation.sh
copy_installed_files "$tree" "$stage"
# The programs and libraries go stripped, each naming its debug file.
while read -r from path name; do
  [ "$from" = build ] || continue
  base=$(basename "$name")
  i686-w64-mingw32-objcopy --only-keep-debug "$tree/$path" "$debug/$base.debug"
  i686-w64-mingw32-objcopy --strip-all --add-gnu-debuglink="$debug/$base.debug" \
    "$tree/$path" "$stage/$name"
done < <(installed_files)
# The installer's File and Delete lines, from the same list, with Windows
# folder separators.
{
  echo "; Written by tools/package.sh from installer/files.txt."
  installed_names | while read -r name; do
    folder=$(dirname "$name")
    [ "$folder" = . ] && folder= || folder="\\${folder//\//\\}"
    printf 'SetOutPath "$INSTDIR%s"\nFile "${STAGE}\\%s"\n' "$folder" "${name//\//\\}"
  done
  echo 'SetOutPath "$INSTDIR"'
} >"$stage/install-files.nsh"
{
  echo "; Written by tools/package.sh from installer/files.txt."
  installed_names | while read -r name; do printf 'Delete "$INSTDIR\\%s"\n' "${name//\//\\}"; done
  installed_names | xargs -n1 dirname | grep -vx . | sort -ru |
    while read -r folder; do printf 'RMDir "$INSTDIR\\%s"\n' "${folder//\//\\}"; done
} >"$stage/uninstall-files.nsh"
setup="$out/MendoraSetup-$version.exe"
makensis -V2 -DVERSION="$version" -DSTAGE="$(realpath "$stage")" \
  -DOUTFILE="$(realpath "$out")/MendoraSetup-$version.exe" installer/mendora.nsi
echo "Made $setup ($(stat -c %s "$setup") bytes); debug information in $debug/"
