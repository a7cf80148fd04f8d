#!/usr/bin/env bash
# Makes the release package in build/package/: the installer
# MendoraSetup-<version>.exe from stripped release builds of both
# architectures (it installs the x86_64 one on 64-bit Windows, the i686 one
# elsewhere), and beside it Mendora-<version>-debug/<arch>/ with the debug
# information of every program and library (each stripped file names its
# .debug file), for crash reports.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
version=$(head -n 1 VERSION)
archs=(i686 x86_64)

out=build/package
stage="$out/stage"
debug="$out/Mendora-$version-debug"
rm -rf "$stage" "$debug"
source tools/installation.sh
for arch in "${archs[@]}"; do
  tree=build/release-$arch
  bash tools/build-libjpeg.sh "$arch"
  bash tools/build-libsodium.sh "$arch"
  cmake -S . -B "$tree" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/toolchain-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMENDORA_WERROR=ON -DMENDORA_TRUST_TEST_KEY=OFF >/dev/null
  cmake --build "$tree" --target Mendora Parleclient MendoraUpdater rptrnr fetchkit
  mkdir -p "$stage/$arch" "$debug/$arch"
  copy_installed_files "$tree" "$stage/$arch"
  # The programs and libraries go stripped, each naming its debug file.
  while read -r from path name; do
    [ "$from" = build ] || continue
    base=$(basename "$name")
    "$arch-w64-mingw32-objcopy" --only-keep-debug "$tree/$path" "$debug/$arch/$base.debug"
    "$arch-w64-mingw32-objcopy" --strip-all --add-gnu-debuglink="$debug/$arch/$base.debug" \
      "$tree/$path" "$stage/$arch/$name"
  done < <(installed_files)
done
# The installer's File and Delete lines, from the same list, with Windows
# folder separators: the files of one build or the other, by the machine.
file_lines() {  # file_lines ARCH
  installed_names | while read -r name; do
    folder=$(dirname "$name")
    [ "$folder" = . ] && folder= || folder="\\${folder//\//\\}"
    printf '  SetOutPath "$INSTDIR%s"\n  File "${STAGE}\\%s\\%s"\n' "$folder" "$1" "${name//\//\\}"
  done
}
{
  echo "; Written by tools/package.sh from installer/files.txt."
  echo '${If} ${RunningX64}'
  file_lines x86_64
  echo '${Else}'
  file_lines i686
  echo '${EndIf}'
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
